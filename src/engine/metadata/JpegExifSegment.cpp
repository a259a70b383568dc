#include "engine/metadata/JpegExifSegment.h"

#include <string_view>

namespace voveriz {

std::string withoutExifSegments(std::string jpeg)
{
    constexpr std::string_view kExifHeader{"Exif\0\0", 6};
    const std::string_view in = jpeg;
    if (!in.starts_with("\xff\xd8")) return jpeg;
    std::string out(in.substr(0, 2));
    std::size_t at = 2;
    // Segments up to the first scan: 0xFF, the marker, a two-byte length that counts itself.
    while (at + 4 <= in.size() && in[at] == '\xff') {
        const auto marker = static_cast<unsigned char>(in[at + 1]);
        if (marker == 0xda) break;  // start of scan: the rest is image data
        const std::size_t length
            = (static_cast<unsigned char>(in[at + 2]) << 8) | static_cast<unsigned char>(in[at + 3]);
        if (length < 2 || in.size() - at - 2 < length) return jpeg;
        const std::string_view segment = in.substr(at, 2 + length);
        if (!(marker == 0xe1 && segment.substr(4).starts_with(kExifHeader))) out.append(segment);
        at += 2 + length;
    }
    if (at + 2 > in.size() || in.substr(at, 2) != "\xff\xda") return jpeg;
    out.append(in.substr(at));
    return out;
}

}  // namespace voveriz
