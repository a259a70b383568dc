#pragma once

#include <vips/vips8>

namespace voveriz {

// The Lanczos3 reduce of the thumbnail steps: in scaled by hscale across and vscale down (each at
// most 1), as libvips's resize makes it (gap 2: a box pre-shrink where a side shrinks 4x or
// more, then the vertical pass, then the horizontal one). Neither side drops below 1 pixel.
vips::VImage reduceToSize(vips::VImage in, double hscale, double vscale);

// libvips's own reduce of the same (resize, Lanczos3, gap 2), which reduceToSize takes for what
// ours does not take. Its bytes are ours on libvips 8.14 only: later ones reduce 8-bit pixels
// with other arithmetic.
vips::VImage libvipsReduceToSize(vips::VImage in, double hscale, double vscale);

}  // namespace voveriz
