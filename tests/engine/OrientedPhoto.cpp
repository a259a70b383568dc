#include "OrientedPhoto.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace voveriz::testing {

using vips::VImage;

std::array<double, 3> quadrantColor(Corner corner)
{
    switch (corner) {
    case Corner::TopLeft: return {220, 40, 40};
    case Corner::TopRight: return {40, 190, 40};
    case Corner::BottomLeft: return {40, 40, 220};
    case Corner::BottomRight: return {235, 220, 50};
    }
    return {};
}

VImage quadrantPicture(int width, int height)
{
    auto block = [](int w, int h, Corner corner) {
        const std::array<double, 3> c = quadrantColor(corner);
        return VImage::black(w, h, VImage::option()->set("bands", 3)).new_from_image({c[0], c[1], c[2]});
    };
    const int left = width / 2;
    const int top = height / 2;
    const VImage upper
        = block(left, top, Corner::TopLeft).join(block(width - left, top, Corner::TopRight), VIPS_DIRECTION_HORIZONTAL);
    const VImage lower = block(left, height - top, Corner::BottomLeft)
                             .join(block(width - left, height - top, Corner::BottomRight), VIPS_DIRECTION_HORIZONTAL);
    return upper.join(lower, VIPS_DIRECTION_VERTICAL)
        .cast(VIPS_FORMAT_UCHAR)
        .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

namespace {

// The stored pixels for an orientation: the inverse of what a viewer does to show them. EXIF
// names where the stored first row and first column belong: 2 top-right (mirrored), 3
// bottom-right (half turn), 4 bottom-left (flipped), 5 left-top (transposed), 6 right-top (shown
// turned a quarter clockwise), 7 right-bottom (transversed), 8 left-bottom (shown turned a
// quarter anticlockwise).
VImage storedFor(const VImage& upright, int orientation)
{
    switch (orientation) {
    case 0:
    case 1: return upright;
    case 2: return upright.fliphor();
    case 3: return upright.rot(VIPS_ANGLE_D180);
    case 4: return upright.flipver();
    case 5: return upright.rot(VIPS_ANGLE_D90).fliphor();
    case 6: return upright.rot(VIPS_ANGLE_D270);
    case 7: return upright.rot(VIPS_ANGLE_D90).flipver();
    case 8: return upright.rot(VIPS_ANGLE_D90);
    }
    throw std::invalid_argument("orientation outside 0 to 8");
}

} // namespace

void writeOrientedJpeg(const VImage& upright, int orientation, const std::filesystem::path& file)
{
    VImage stored = storedFor(upright, orientation).copy();
    stored.set(VIPS_META_ORIENTATION, std::max(orientation, 1));
    // libvips writes an orientation tag into every JPEG's EXIF; only stripping leaves it out.
    stored.jpegsave(file.c_str(), VImage::option()->set("Q", 95)->set("strip", orientation == 0));
}

} // namespace voveriz::testing
