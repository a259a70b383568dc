#include "engine/pipeline/Encode.h"

#include "engine/metadata/OutputMetadata.h"
#include "engine/pipeline/BmpFile.h"

#include <glib.h>

#include <cstdint>
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

// 8-bit sRGB (or grey) pixels, for the encoders below that write 8 bits a sample: their own
// conversion of 16-bit pixels would cut them rather than scale them.
VImage asEightBit(VImage image)
{
    if (image.format() == VIPS_FORMAT_UCHAR) return image;
    return image.colourspace(VIPS_INTERPRETATION_sRGB).cast(VIPS_FORMAT_UCHAR);
}

// libvips 8.15 and later write a fresh EXIF block into a WebP, HEIF or JPEG XL file whose image
// has none (orientation, resolution and a color space of "Uncalibrated"); their savers' "keep"
// flags leave it out. 8.14 writes none and has no such flags.
bool saversTakeKeep()
{
    static const bool takes = [] {
        const GType type = g_type_from_name("VipsForeignSave");
        if (type == 0) return false;
        gpointer klass = g_type_class_ref(type);
        const bool found = g_object_class_find_property(G_OBJECT_CLASS(klass), "keep") != nullptr;
        g_type_class_unref(klass);
        return found;
    }();
    return takes;
}

// VipsForeignKeep's XMP, IPTC, ICC and OTHER (8.15 and later): everything but EXIF.
constexpr int kKeepAllButExif = 2 | 4 | 8 | 16;

bool leavesOutExif(const VImage& image)
{
    return image.get_typeof("exif-data") == 0 && saversTakeKeep();
}

using SaveCall = int (*)(VipsImage*, void**, size_t*, int quality, bool leaveOutExif);

std::string saved(const VImage& image, int quality, SaveCall save)
{
    void* data = nullptr;
    size_t size = 0;
    if (save(image.get_image(), &data, &size, quality, leavesOutExif(image)) != 0) throw vips::VError();
    return takeBuffer(data, size);
}

int saveWebp(VipsImage* in, void** data, size_t* size, int quality, bool leaveOutExif)
{
    if (leaveOutExif) return vips_webpsave_buffer(in, data, size, "Q", quality, "keep", kKeepAllButExif, nullptr);
    return vips_webpsave_buffer(in, data, size, "Q", quality, nullptr);
}

int saveJxl(VipsImage* in, void** data, size_t* size, int quality, bool leaveOutExif)
{
    if (leaveOutExif) return vips_jxlsave_buffer(in, data, size, "Q", quality, "keep", kKeepAllButExif, nullptr);
    return vips_jxlsave_buffer(in, data, size, "Q", quality, nullptr);
}

std::uint32_t littleEndian32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

void putLittleEndian32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xff);
}

// A WebP file without its EXIF chunk, and without the extended header's flag that announces one.
// libvips 8.14 writes a fresh EXIF block into every WebP it saves, even from an image with none;
// a file it did not write in the expected layout is left as it is.
std::string withoutWebpExif(std::string webp)
{
    if (webp.size() < 12 || webp.compare(0, 4, "RIFF") != 0 || webp.compare(8, 4, "WEBP") != 0) return webp;
    std::string out = webp.substr(0, 12);
    for (std::size_t at = 12; at < webp.size();) {
        if (webp.size() - at < 8) return webp;
        const std::uint64_t length = 8 + std::uint64_t(littleEndian32(webp, at + 4));
        const std::uint64_t padded = length + (length & 1);
        if (padded > webp.size() - at) return webp;
        std::string chunk = webp.substr(at, padded);
        if (chunk.compare(0, 4, "VP8X") == 0 && chunk.size() > 8) chunk[8] = static_cast<char>(chunk[8] & ~0x08);
        if (chunk.compare(0, 4, "EXIF") != 0) out += chunk;
        at += padded;
    }
    putLittleEndian32(out, 4, static_cast<std::uint32_t>(out.size() - 8));
    return out;
}

template <VipsForeignHeifCompression compression>
int saveHeif(VipsImage* in, void** data, size_t* size, int quality, bool leaveOutExif)
{
    if (leaveOutExif) {
        return vips_heifsave_buffer(
            in, data, size, "Q", quality, "compression", compression, "keep", kKeepAllButExif, nullptr);
    }
    return vips_heifsave_buffer(in, data, size, "Q", quality, "compression", compression, nullptr);
}

}  // namespace

std::string encodeImage(VImage image, ImageFormat format, const MetadataOptions& metadata)
{
    return encodeImage(std::move(image), OutputFormat { format, std::string(extensionOf(format)) }, metadata);
}

std::string encodeImage(VImage image, const OutputFormat& output, const MetadataOptions& metadata)
{
    image = withOutputMetadata(withHonestProfile(image), metadata);
    const int quality = output.quality != 0 ? output.quality : defaultQuality(output.format);
    void* data = nullptr;
    size_t size = 0;
    switch (output.format) {
    case ImageFormat::Jpeg:
        flattenOntoWhite(image).write_to_buffer(".jpg", &data, &size, VImage::option()->set("Q", quality));
        return finishedJpeg(takeBuffer(data, size), metadata);
    case ImageFormat::Webp: {
        const VImage pixels = asEightBit(image);
        std::string webp = saved(pixels, quality, saveWebp);
        return pixels.get_typeof("exif-data") != 0 ? webp : withoutWebpExif(std::move(webp));
    }
    case ImageFormat::Avif:
        return saved(asEightBit(image), quality, saveHeif<VIPS_FOREIGN_HEIF_COMPRESSION_AV1>);
    case ImageFormat::Heic:
        return saved(asEightBit(image), quality, saveHeif<VIPS_FOREIGN_HEIF_COMPRESSION_HEVC>);
    case ImageFormat::Jxl:
        return saved(image, quality, saveJxl);
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
