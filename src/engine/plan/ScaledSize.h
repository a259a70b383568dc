#pragma once

#include <cmath>
#include <cstdint>

namespace voveriz {

// The computed other side of a scaled image: target and both measured sides as doubles, target divided
// by the measured side first, the quotient times the other side, rounded half away from zero,
// through a signed 64-bit integer. No lower bound: the result can be 0.
inline std::int64_t scaledOtherSide(std::int64_t target, std::int64_t measuredSide, std::int64_t otherSide)
{
    const double quotient = static_cast<double>(target) / static_cast<double>(measuredSide);
    return static_cast<std::int64_t>(std::round(quotient * static_cast<double>(otherSide)));
}

}  // namespace voveriz
