#include "engine/resample/Lanczos3Reduce.h"

#include "engine/resample/ReduceOperation.h"

namespace voveriz {

bool lanczos3ReduceApplies(const vips::VImage& in)
{
    return in.format() == VIPS_FORMAT_UCHAR && in.bands() >= 1 && in.bands() <= 4 &&
           in.coding() == VIPS_CODING_NONE;
}

vips::VImage lanczos3Reduce(const vips::VImage& in, double hshrink, double vshrink)
{
    // In libvips's order: the vertical pass first, 8-bit lines between the passes.
    vips::VImage out = in;
    if (vshrink != 1.0) out = resample::reduceAxis(out, vshrink, true);
    if (hshrink != 1.0) out = resample::reduceAxis(out, hshrink, false);
    return out;
}

}  // namespace voveriz
