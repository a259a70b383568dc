#include "engine/pipeline/BmpFile.h"

#include <glib.h>

#include <cstdint>
#include <limits>
#include <memory>

namespace voveriz {

using vips::VError;
using vips::VImage;

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 124;  // BITMAPV5HEADER
constexpr std::uint32_t kPixelsAt = kFileHeaderSize + kInfoHeaderSize;

void put16(std::string& out, std::uint32_t value)
{
    out.push_back(static_cast<char>(value & 0xff));
    out.push_back(static_cast<char>((value >> 8) & 0xff));
}

void put32(std::string& out, std::uint32_t value)
{
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

std::string headers(std::uint32_t width, std::uint32_t height, std::uint32_t pixelBytes)
{
    std::string out;
    out.reserve(kPixelsAt);
    out += "BM";
    put32(out, kPixelsAt + pixelBytes);  // the whole file
    put32(out, 0);                       // reserved
    put32(out, kPixelsAt);
    put32(out, kInfoHeaderSize);
    put32(out, width);
    put32(out, height);  // positive: the first row stored is the bottom one
    put16(out, 1);       // planes
    put16(out, 24);      // bits per pixel
    put32(out, 0);       // BI_RGB: uncompressed
    put32(out, pixelBytes);
    put32(out, 0);  // no resolution
    put32(out, 0);
    put32(out, 0);  // no palette
    put32(out, 0);
    // The masks, which BI_RGB does not use, as ImageMagick fills them in.
    put32(out, 0x00ff0000);
    put32(out, 0x0000ff00);
    put32(out, 0x000000ff);
    put32(out, 0xff000000);
    put32(out, 0x73524742);     // LCS_sRGB
    out.append(36 + 12, '\0');  // endpoints and gamma, unused with LCS_sRGB
    put32(out, 4);              // LCS_GM_IMAGES
    put32(out, 0);              // no profile
    put32(out, 0);
    put32(out, 0);  // reserved
    return out;
}

}  // namespace

std::string bmpFile(const VImage& image)
{
    const int bands = image.bands();
    if (image.format() != VIPS_FORMAT_UCHAR || (bands != 1 && bands != 3)) {
        throw VError("bmpFile: not 8-bit grey or RGB");
    }
    const auto width = static_cast<std::uint64_t>(image.width());
    const auto height = static_cast<std::uint64_t>(image.height());
    const std::uint64_t rowBytes = (width * 3 + 3) / 4 * 4;
    const std::uint64_t pixelBytes = rowBytes * height;
    if (pixelBytes > std::numeric_limits<std::uint32_t>::max() - kPixelsAt) {
        throw VError("bmpFile: larger than a BMP can be");
    }

    size_t size = 0;
    std::unique_ptr<void, decltype(&g_free)> memory(image.write_to_memory(&size), &g_free);
    if (size != width * height * bands) throw VError("bmpFile: pixels of another size");
    const auto* pixels = static_cast<const unsigned char*>(memory.get());

    std::string out = headers(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                              static_cast<std::uint32_t>(pixelBytes));
    out.resize(kPixelsAt + pixelBytes, '\0');  // the padding stays zero
    for (std::uint64_t y = 0; y < height; ++y) {
        const unsigned char* in = pixels + y * width * bands;
        char* row = out.data() + kPixelsAt + (height - 1 - y) * rowBytes;
        for (std::uint64_t x = 0; x < width; ++x, in += bands, row += 3) {
            row[0] = static_cast<char>(in[bands == 3 ? 2 : 0]);  // blue, green, red
            row[1] = static_cast<char>(in[bands == 3 ? 1 : 0]);
            row[2] = static_cast<char>(in[0]);
        }
    }
    return out;
}

}  // namespace voveriz
