#pragma once

#include <vips/vips8>

#include <array>
#include <filesystem>

namespace voveriz::testing {

// An upright test picture whose four quadrants have four different colors, so that any flip or
// turn moves at least one color to another corner.
vips::VImage quadrantPicture(int width, int height);

// The color of each quadrant of quadrantPicture, by corner as the user sees it.
enum class Corner {TopLeft, TopRight, BottomLeft, BottomRight};
std::array<double, 3> quadrantColor(Corner corner);

// Writes upright as a JPEG that shows upright only once EXIF orientation (1 to 8) is applied: the
// pixels are stored turned or mirrored the other way and the tag says how to undo it. An
// orientation of 0 writes the picture as it is, with no orientation tag at all.
void writeOrientedJpeg(const vips::VImage& upright, int orientation, const std::filesystem::path& file);

} // namespace voveriz::testing
