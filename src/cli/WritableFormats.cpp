#include "cli/WritableFormats.h"

#include "engine/pipeline/Encode.h"

#include <vips/vips8>

namespace voveriz::cli {

bool canWrite(ImageFormat format)
{
    try {
        const vips::VImage pixel = vips::VImage::black(8, 8, vips::VImage::option()->set("bands", 3));
        return !encodeImage(pixel.copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB)), format)
                    .empty();
    } catch (const vips::VError&) {
        vips_error_clear();
        return false;
    }
}

std::string writableFormatNames()
{
    std::string names;
    for (ImageFormat format : { ImageFormat::Jpeg, ImageFormat::Png, ImageFormat::Webp, ImageFormat::Avif,
             ImageFormat::Heic, ImageFormat::Jxl, ImageFormat::Tiff, ImageFormat::Gif, ImageFormat::Bmp }) {
        if (!canWrite(format)) continue;
        if (!names.empty()) names += ", ";
        names += nameOf(format);
    }
    return names;
}

} // namespace voveriz::cli
