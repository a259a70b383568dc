#pragma once

#include "engine/resample/ReduceAxis.h"

#include <vips/vips.h>

#include <cstdint>
#include <vector>

namespace voveriz::resample {

// Box-averaged lines over the columns left..left + width - 1, kept in a ring from region to
// region: the next region (often the next line alone, as a box wide asks) needs most of them again.
// Boxing each region's lines anew, the vertical pass of 5120x2880 to 1080x608 (box 2) takes 1.20x
// as long (AVX-512, 2-core; 1.26x with AVX2).
struct BoxedLines {
    std::vector<std::uint8_t> bytes;
    int left = 0;
    int width = 0;
    int capacity = 0;  // lines; line k is at slot k % capacity
    int low = 0;  // the lines held, low..high
    int high = -1;
};

// Working memory of one thread's sequence over a reduce: it grows to the largest region the
// thread is asked for and is then reused, as the boxed lines must be. The rest measured the same
// allocated anew for each region (1.01x on both passes of 4000x3000 to 1080x810, 2-core).
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
