#include "engine/pipeline/ThumbnailSteps.h"

#include "engine/resample/Lanczos3Reduce.h"

#include <algorithm>

namespace voveriz {

using vips::VImage;

namespace {

// How much one side shrinks to reach its size, never so much that it falls below 1 pixel.
double sideShrink(int from, int to)
{
    return std::min(static_cast<double>(from) / to, static_cast<double>(from));
}

VImage load(const ThumbnailSource& source, const StoredHeader& header, const ThumbnailRequest& request)
{
    // Made where a call takes them: libvips frees them then, also when the call fails.
    auto options = [&](VipsFailOn failOn) {
        auto made = VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL)->set("fail_on", failOn);
        if (header.loader == "jpegload") made->set("shrink", jpegShrinkOnLoad(header, request));
        return made;
    };
    return openImage(source, options(loaderFailOn(source)));
}

VipsInterpretation processingSpace(const VImage& image)
{
    return image.bands() < 3 ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB;
}

}  // namespace

// libjpeg's shrink-on-load is a block average and sharpens; thumbnail uses it only up to half the
// whole shrink, leaving at least 2x to the Lanczos3 reduce.
int jpegShrinkOnLoad(const StoredHeader& header, const ThumbnailRequest& request)
{
    const double shrink = std::min(sideShrink(header.width, request.width), sideShrink(header.height, request.height));
    if (shrink >= 16) return 8;
    if (shrink >= 8) return 4;
    if (shrink >= 4) return 2;
    return 1;
}

VImage loadForSteps(const ThumbnailSource& source, const StoredHeader& header, const ThumbnailRequest& request)
{
    return load(source, header, request);
}

VImage reduceToRequest(const VImage& image, const ThumbnailRequest& request)
{
    return reduceToSize(image, 1.0 / sideShrink(image.width(), request.width),
                        1.0 / sideShrink(image.height(), request.height));
}

VImage reduceToRequest(const VImage& image, const ThumbnailRequest& request, double hsmoothing, double vsmoothing)
{
    return lanczos3Reduce(image, sideShrink(image.width(), request.width), sideShrink(image.height(), request.height),
                          hsmoothing, vsmoothing);
}

VImage thumbnailSteps(const ThumbnailSource& source, const StoredHeader& header, const ThumbnailRequest& request,
                      ReduceStep reduce)
{
    VImage image = load(source, header, request);
    image = image.colourspace(processingSpace(image));

    // From the size as loaded, which shrink-on-load rounds down.
    const double hshrink = sideShrink(image.width(), request.width);
    const double vshrink = sideShrink(image.height(), request.height);

    // Alpha is premultiplied (as float) while scaling, where both sides scale, and the format cast
    // back afterwards.
    const bool premultiplied = image.has_alpha() && hshrink != 1.0 && vshrink != 1.0;
    const VipsBandFormat format = image.format();
    if (premultiplied) image = image.premultiply();
    image = reduce(image, 1.0 / hshrink, 1.0 / vshrink);
    if (premultiplied) image = image.unpremultiply().cast(format);
    return outputColor(image, request);
}

VImage outputColor(VImage image, const ThumbnailRequest& request)
{
    if (!request.exportSrgb) return image.colourspace(processingSpace(image));
    // Through the image's own profile (libvips takes its built-in sRGB one where that is unusable);
    // without one the pixels are taken as sRGB.
    const auto intent = VIPS_INTENT_RELATIVE;
    if (image.get_typeof(VIPS_META_ICC_NAME) != 0) {
        return image.icc_transform("srgb", VImage::option()->set("embedded", true)->set("intent", intent));
    }
    return image.colourspace(VIPS_INTERPRETATION_XYZ)
        .icc_export(VImage::option()->set("output_profile", "srgb")->set("intent", intent));
}

}  // namespace voveriz
