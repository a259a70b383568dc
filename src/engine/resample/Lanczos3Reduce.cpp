#include "engine/resample/Lanczos3Reduce.h"

#include "engine/resample/ReduceOperation.h"

#include <atomic>

namespace voveriz {

namespace {

std::atomic<std::uint64_t> reducesMade{0};

}  // namespace

bool lanczos3ReduceApplies(const vips::VImage& in)
{
    return in.format() == VIPS_FORMAT_UCHAR && in.bands() >= 1 && in.bands() <= 4 &&
           in.coding() == VIPS_CODING_NONE;
}

vips::VImage lanczos3Reduce(const vips::VImage& in, double hshrink, double vshrink)
{
    return lanczos3Reduce(in, hshrink, vshrink, 0.0, 0.0);
}

vips::VImage lanczos3Reduce(const vips::VImage& in, double hshrink, double vshrink, double hsmoothing,
                            double vsmoothing)
{
    // In libvips's order: the vertical pass first, 8-bit lines between the passes.
    vips::VImage out = in;
    if (vshrink != 1.0) out = resample::reduceAxis(out, vshrink, true, vsmoothing);
    if (hshrink != 1.0) out = resample::reduceAxis(out, hshrink, false, hsmoothing);
    reducesMade.fetch_add(1, std::memory_order_relaxed);
    return out;
}

std::uint64_t lanczos3ReducesMade()
{
    return reducesMade.load(std::memory_order_relaxed);
}

}  // namespace voveriz
