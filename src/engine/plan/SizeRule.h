#pragma once

#include "engine/plan/Dimension.h"

#include <cstdint>

namespace voveriz {

// Which size an image is brought to: its width, its height, its longer or its shorter side (as the
// user sees it, after the EXIF turn), or within a box with its aspect kept.
enum class SizeMode { Width, Height, LongEdge, ShortEdge, Fit };

struct SizeRule {
    SizeMode mode = SizeMode::Width;
    std::int64_t target = 0;     // >= 1; with Fit, the box's width
    std::int64_t boxHeight = 0;  // Fit: the box's height, >= 1
};

// The side a rule measures on an image of width x height (as seen), and that side's target: the
// image is within the rule exactly when that side is no larger than the target. A square's long
// and short edge is its width. Within a box, the side that reaches the box's edge first.
struct SideTarget {
    Dimension dimension;
    std::int64_t target;
};
SideTarget sideTargetFor(const SizeRule& rule, std::int64_t width, std::int64_t height);

}  // namespace voveriz
