#include "engine/plan/OutputFormat.h"

#include <array>

namespace voveriz {

namespace {

struct FormatEntry {
    ImageFormat format;
    std::string_view name;
    std::string_view title;
    std::string_view extension;
};

constexpr std::array kFormats {
    FormatEntry { ImageFormat::Jpeg, "jpeg", "JPEG", "jpg" },
    FormatEntry { ImageFormat::Png, "png", "PNG", "png" },
    FormatEntry { ImageFormat::Webp, "webp", "WebP", "webp" },
    FormatEntry { ImageFormat::Avif, "avif", "AVIF", "avif" },
    FormatEntry { ImageFormat::Heic, "heic", "HEIC", "heic" },
    FormatEntry { ImageFormat::Jxl, "jxl", "JPEG XL", "jxl" },
    FormatEntry { ImageFormat::Tiff, "tiff", "TIFF", "tiff" },
    FormatEntry { ImageFormat::Gif, "gif", "GIF", "gif" },
    FormatEntry { ImageFormat::Bmp, "bmp", "BMP", "bmp" },
};

const FormatEntry& entryOf(ImageFormat format)
{
    for (const FormatEntry& entry : kFormats) {
        if (entry.format == format) return entry;
    }
    return kFormats.front();
}

std::string lowerCase(std::string_view text)
{
    std::string key(text);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return key;
}

} // namespace

OutputFormat outputFormatFor(const std::string& sourceExtension)
{
    const std::string key = lowerCase(sourceExtension);
    if (key == "jpg" || key == "jpeg") return { ImageFormat::Jpeg, key };
    if (key == "png") return { ImageFormat::Png, key };
    if (key == "tiff" || key == "tif") return { ImageFormat::Tiff, key };
    if (key == "bmp") return { ImageFormat::Bmp, key };
    if (key == "gif") return { ImageFormat::Gif, key };
    return { ImageFormat::Jpeg, "jpg" };
}

std::optional<ImageFormat> imageFormatNamed(std::string_view name)
{
    for (const FormatEntry& entry : kFormats) {
        if (entry.name == name) return entry.format;
    }
    return std::nullopt;
}

std::string_view nameOf(ImageFormat format)
{
    return entryOf(format).name;
}

std::string_view titleOf(ImageFormat format)
{
    return entryOf(format).title;
}

std::string_view extensionOf(ImageFormat format)
{
    return entryOf(format).extension;
}

std::optional<ImageFormat> formatOfExtension(std::string_view extension)
{
    const std::string key = lowerCase(extension);
    if (key == "jpeg" || key == "jpe") return ImageFormat::Jpeg;
    if (key == "heif") return ImageFormat::Heic;
    if (key == "tif") return ImageFormat::Tiff;
    for (const FormatEntry& entry : kFormats) {
        if (entry.extension == key) return entry.format;
    }
    return std::nullopt;
}

bool isLossy(ImageFormat format)
{
    switch (format) {
    case ImageFormat::Jpeg:
    case ImageFormat::Webp:
    case ImageFormat::Avif:
    case ImageFormat::Heic:
    case ImageFormat::Jxl:
        return true;
    case ImageFormat::Png:
    case ImageFormat::Tiff:
    case ImageFormat::Bmp:
    case ImageFormat::Gif:
        break;
    }
    return false;
}

int defaultQuality(ImageFormat format)
{
    switch (format) {
    case ImageFormat::Webp:
        return 90;
    case ImageFormat::Avif:
        return 80;
    case ImageFormat::Heic:
        return 80;
    case ImageFormat::Jxl:
        return 90;
    default:
        break;
    }
    return 92;
}

bool carriesColorProfile(ImageFormat format)
{
    switch (format) {
    case ImageFormat::Jpeg:
    case ImageFormat::Png:
    case ImageFormat::Tiff:
    case ImageFormat::Webp:
    case ImageFormat::Avif:
    case ImageFormat::Heic:
    case ImageFormat::Jxl:
        return true;
    case ImageFormat::Bmp:
    case ImageFormat::Gif:
        break;
    }
    return false;
}

} // namespace voveriz
