#pragma once

#include <vips/vips8>

namespace voveriz::resample {

// libvips 8.14's reducev (vertical) or reduceh (horizontal), Lanczos3 kernel, gap 2, for 8-bit
// images of 1 to 4 bands, as a libvips operation of our own ("voveriz_reduce"): it makes its
// output region by region, on any number of threads, and gives libvips's bytes for every region
// it is asked for. Throws vips::VError where libvips's operation would fail. A smoothing above 0
// smooths first, in the same weights (ReduceAxis.h): not libvips's bytes then.
vips::VImage reduceAxis(const vips::VImage& in, double shrink, bool vertical, double smoothing = 0.0);

}  // namespace voveriz::resample
