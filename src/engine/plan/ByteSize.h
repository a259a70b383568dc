#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace voveriz {

// A size in bytes as people write it for an upload form: "500000", "500k" or "500kB" (500,000
// bytes), "2M" or "2MB", "1.5M", "512Ki" or "512KiB" (524,288 bytes), "2Mi". None for anything
// else, for zero, and for more than 2^53 bytes.
std::optional<std::uint64_t> parseByteSize(std::string_view text);

// bytes as a line shows it, in decimal units and rounded up, so that a size over a limit never
// reads as less than the limit: "812 bytes", "151 kB", "2.1 MB".
std::string byteSizeText(std::uint64_t bytes);

}  // namespace voveriz
