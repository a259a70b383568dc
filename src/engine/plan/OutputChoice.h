#pragma once

#include "engine/plan/OutputFormat.h"

#include <cstdint>
#include <optional>

namespace voveriz {

// What the user chose of the outputs beyond their size: one format for them all (none: each by its
// source's extension, outputFormatFor), the quality of a lossy one (0: the format's default;
// a lossless output ignores it), and the most bytes an output may take (0: no limit).
struct OutputChoice {
    std::optional<ImageFormat> format;
    int quality = 0;
    std::uint64_t maxBytes = 0;
    bool operator==(const OutputChoice&) const = default;
};

} // namespace voveriz
