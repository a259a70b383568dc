#include "engine/plan/SizeRule.h"

namespace voveriz {

SideTarget sideTargetFor(const SizeRule& rule, std::int64_t width, std::int64_t height)
{
    switch (rule.mode) {
    case SizeMode::Width: break;
    case SizeMode::Height: return {Dimension::Height, rule.target};
    case SizeMode::LongEdge: return {height > width ? Dimension::Height : Dimension::Width, rule.target};
    case SizeMode::ShortEdge: return {height < width ? Dimension::Height : Dimension::Width, rule.target};
    case SizeMode::Fit:
        // The width binds where boxWidth / width <= boxHeight / height; in integers of 128 bits.
        if (static_cast<__int128>(rule.target) * height <= static_cast<__int128>(rule.boxHeight) * width) {
            return {Dimension::Width, rule.target};
        }
        return {Dimension::Height, rule.boxHeight};
    }
    return {Dimension::Width, rule.target};
}

}  // namespace voveriz
