#pragma once

#include "engine/resample/ReduceAxis.h"

#include <vips/vips.h>

#include <cstdint>
#include <vector>

namespace voveriz::resample {

// Working memory of one thread's sequence over a reduce: it grows to the largest region the
// thread is asked for and is then reused, so a region costs no allocation.
struct ReduceScratch {
    std::vector<std::uint8_t> bytes;  // box-averaged lines, or the band planes of one row
    std::vector<int> firstTaps;
    std::vector<int> phases;
    std::vector<const std::uint8_t*> lines;
    std::vector<const std::uint8_t*> boxLines;
    std::vector<std::int32_t> starts;
    std::vector<const std::int16_t*> weights;
};

// Makes `out`'s valid area from `in` (a region on the operation's input image), as libvips's
// shrinkv + reducev (vertical) or shrinkh + reduceh (horizontal) would make that area: positions
// start from the area's first line or column, input is asked for the lines libvips asks for.
// 0, or -1 when the input failed.
int reduceVertically(VipsRegion* out, VipsRegion* in, const ReduceAxis& axis, ReduceScratch& scratch);
int reduceHorizontally(VipsRegion* out, VipsRegion* in, const ReduceAxis& axis, ReduceScratch& scratch);

}  // namespace voveriz::resample
