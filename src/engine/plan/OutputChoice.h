#pragma once

#include "engine/plan/OutputFormat.h"

#include <optional>

namespace voveriz {

// What the user chose of the outputs beyond their size: one format for them all (none: each by its
// source's extension, outputFormatFor), and the quality of a lossy one (0: the format's default;
// a lossless output ignores it).
struct OutputChoice {
    std::optional<ImageFormat> format;
    int quality = 0;
    bool operator==(const OutputChoice&) const = default;
};

} // namespace voveriz
