#include "engine/plan/StoredFormat.h"

#include <string_view>

namespace voveriz {

std::optional<ImageFormat> storedFormatOf(const vips::VImage& header)
{
    if (header.get_typeof("vips-loader") == 0) return std::nullopt;
    const std::string_view loader = header.get_string("vips-loader");
    if (loader.starts_with("jpegload")) return ImageFormat::Jpeg;
    if (loader.starts_with("pngload")) return ImageFormat::Png;
    if (loader.starts_with("webpload")) return ImageFormat::Webp;
    if (loader.starts_with("jxlload")) return ImageFormat::Jxl;
    if (loader.starts_with("tiffload")) return ImageFormat::Tiff;
    if (loader.starts_with("gifload")) return ImageFormat::Gif;
    if (loader.starts_with("heifload")) {
        const bool av1 = header.get_typeof("heif-compression") != 0
            && std::string_view(header.get_string("heif-compression")) == "av1";
        return av1 ? ImageFormat::Avif : ImageFormat::Heic;
    }
    return std::nullopt;
}

} // namespace voveriz
