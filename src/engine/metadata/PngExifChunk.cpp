#include "engine/metadata/PngExifChunk.h"

#include <cstdint>
#include <string_view>

namespace voveriz {

std::string withoutExifChunks(std::string png)
{
    constexpr std::string_view kSignature{"\x89PNG\r\n\x1a\n", 8};
    const std::string_view in = png;
    if (!in.starts_with(kSignature)) return png;
    std::string out(kSignature);
    std::size_t at = kSignature.size();
    bool ended = false;
    // Each chunk: a four-byte big-endian length of its data, four letters, the data, a four-byte CRC.
    while (!ended && in.size() - at >= 12) {
        std::uint64_t length = 0;
        for (int i = 0; i < 4; ++i) length = (length << 8) | static_cast<unsigned char>(in[at + i]);
        if (length > in.size() - at - 12) return png;
        const std::string_view type = in.substr(at + 4, 4);
        ended = type == "IEND";
        if (type != "eXIf") out.append(in.substr(at, 12 + length));
        at += 12 + length;
    }
    if (!ended || at != in.size()) return png;
    return out;
}

}  // namespace voveriz
