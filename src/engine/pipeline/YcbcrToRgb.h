#pragma once

#include <vips/vips8>

namespace voveriz {

// A 3-band 8-bit image of JPEG's Y, Cb and Cr (full range, as JFIF has them) turned into sRGB
// with libjpeg's own fixed-point arithmetic, so that each pixel is what libjpeg would have made of
// the same three samples. Made region by region; the header is in's, interpreted as sRGB.
vips::VImage ycbcrToRgb(const vips::VImage& in);

}  // namespace voveriz
