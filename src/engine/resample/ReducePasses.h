#pragma once

#include "engine/resample/ReduceAxis.h"

#include <vips/vips.h>

#include <cstdint>
#include <vector>

namespace voveriz::resample {

// Working memory of one thread's sequence over a reduce: it grows to the largest region the
// thread is asked for and is then reused, so a region costs no allocation.
// Box-averaged lines over the columns left..left + width - 1, kept in a ring from region to
// region: the next region (often the next line alone, as a box wide asks) needs most of them again.
struct BoxedLines {
    std::vector<std::uint8_t> bytes;
    int left = 0;
    int width = 0;
    int capacity = 0;  // lines; line k is at slot k % capacity
    int low = 0;  // the lines held, low..high
    int high = -1;
};

struct ReduceScratch {
    BoxedLines boxed;
    std::vector<std::uint8_t> bytes;  // the band planes of one row
    std::vector<std::uint8_t> inputPlanes;  // the same before a box average
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
