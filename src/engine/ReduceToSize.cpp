#include "engine/ReduceToSize.h"

#include <algorithm>

namespace voveriz {

using vips::VImage;

VImage reduceToSize(VImage in, double hscale, double vscale)
{
    // resize's own clamp, kept here so that any reduce put in its place sees the same scales.
    hscale = std::max(hscale, 1.0 / in.width());
    vscale = std::max(vscale, 1.0 / in.height());
    return in.resize(hscale, VImage::option()
                                 ->set("vscale", vscale)
                                 ->set("kernel", VIPS_KERNEL_LANCZOS3)
                                 ->set("gap", 2.0));
}

}  // namespace voveriz
