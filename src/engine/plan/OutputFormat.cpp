#include "engine/plan/OutputFormat.h"

namespace voveriz {

OutputFormat outputFormatFor(const std::string& sourceExtension)
{
    std::string key = sourceExtension;
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (key == "jpg" || key == "jpeg") return {ImageFormat::Jpeg, key};
    if (key == "png") return {ImageFormat::Png, key};
    if (key == "tiff" || key == "tif") return {ImageFormat::Tiff, key};
    if (key == "bmp") return {ImageFormat::Bmp, key};
    if (key == "gif") return {ImageFormat::Gif, key};
    return {ImageFormat::Jpeg, "jpg"};
}

bool carriesColorProfile(ImageFormat format)
{
    return format == ImageFormat::Jpeg || format == ImageFormat::Png || format == ImageFormat::Tiff;
}

}  // namespace voveriz
