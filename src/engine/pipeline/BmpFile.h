#pragma once

#include <vips/vips8>

#include <string>

namespace voveriz {

// image as an uncompressed 24-bit BMP: a BITMAPV5HEADER that tags the pixels sRGB (as ImageMagick
// writes it), the rows bottom-up, each padded to four bytes. image is 8-bit grey or RGB without
// alpha; grey is written as RGB. Nothing of its metadata is written: BMP carries none.
// Throws vips::VError when the pixels cannot be computed or the file would exceed BMP's 4 GiB.
std::string bmpFile(const vips::VImage& image);

}  // namespace voveriz
