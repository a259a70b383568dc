#include "engine/pipeline/Encode.h"

#include "engine/pipeline/BmpFile.h"
#include "engine/metadata/OutputMetadata.h"

#include <glib.h>

#include <memory>

namespace voveriz {

using vips::VImage;

namespace {

// Flattened onto 8-bit white (JPEG and BMP are 8-bit formats anyway).
VImage flattenOntoWhite(VImage image)
{
    if (!image.has_alpha()) return image;
    if (image.format() != VIPS_FORMAT_UCHAR) {
        image = image.colourspace(VIPS_INTERPRETATION_sRGB);
    }
    return image.flatten(VImage::option()->set("background", std::vector<double>{255.0}));
}

// Leaves out a color profile that does not describe the pixels. thumbnail turns CMYK pixels into
// sRGB but keeps the CMYK profile (the file's own, or libvips's fallback for a file without one)
// attached; JPEG and PNG saving drop such a profile, TIFF saving would write it, and a
// color-managed viewer would then read the sRGB pixels as ink. Without a profile they are sRGB.
VImage withHonestProfile(VImage image)
{
    if (image.get_typeof(VIPS_META_ICC_NAME) == 0) return image;
    size_t length = 0;
    const void* profile = image.get_blob(VIPS_META_ICC_NAME, &length);
    if (vips_icc_is_compatible_profile(image.get_image(), profile, length)) return image;
    image = image.copy();
    image.remove(VIPS_META_ICC_NAME);
    return image;
}

std::string takeBuffer(void* data, size_t size)
{
    std::unique_ptr<void, decltype(&g_free)> owner(data, &g_free);
    return std::string(static_cast<const char*>(data), size);
}

}  // namespace

std::string encodeImage(VImage image, ImageFormat format, const MetadataOptions& metadata)
{
    image = withOutputMetadata(withHonestProfile(image), metadata);
    void* data = nullptr;
    size_t size = 0;
    switch (format) {
    case ImageFormat::Jpeg:
        flattenOntoWhite(image).write_to_buffer(".jpg", &data, &size, VImage::option()->set("Q", 92));
        return finishedJpeg(takeBuffer(data, size), metadata);
    case ImageFormat::Png:
        image.write_to_buffer(".png", &data, &size);
        return finishedPng(takeBuffer(data, size), image);
    case ImageFormat::Tiff:
        image.write_to_buffer(".tif", &data, &size);
        return takeBuffer(data, size);
    case ImageFormat::Gif:
        image.write_to_buffer(".gif", &data, &size);
        return takeBuffer(data, size);
    case ImageFormat::Bmp:
        image = flattenOntoWhite(image);
        if (image.format() != VIPS_FORMAT_UCHAR || (image.bands() != 1 && image.bands() != 3)) {
            image = image.colourspace(VIPS_INTERPRETATION_sRGB);
        }
        if (image.format() != VIPS_FORMAT_UCHAR) image = image.cast(VIPS_FORMAT_UCHAR);
        return bmpFile(image);
    }
    return {};
}

}  // namespace voveriz
