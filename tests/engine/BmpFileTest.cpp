// The BMP the engine writes, as ImageMagick reads it back through libvips: every pixel where it
// belongs, for each of the four row paddings, in color and in grey.
#include "engine/pipeline/BmpFile.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace voveriz {
namespace {

using vips::VImage;

std::uint32_t field32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

TEST(BmpFile, EachPixelIsReadBackWhereItWasForEveryRowPadding)
{
    for (const int bands : {3, 1}) {
        for (const int width : {1, 2, 3, 4, 7}) {  // rows of 3, 6, 9, 12 and 21 bytes: padded by 1, 2, 3, 0 and 3
            SCOPED_TRACE(std::to_string(bands) + " bands, " + std::to_string(width) + " wide");
            const VImage picture = testing::gradientImage(width, 5, bands);
            const std::string bmp = bmpFile(picture);
            const std::uint32_t rowBytes = (width * 3 + 3) / 4 * 4;
            ASSERT_EQ(bmp.size(), 138u + 5 * rowBytes);
            EXPECT_EQ(bmp.substr(0, 2), "BM");
            EXPECT_EQ(field32(bmp, 2), bmp.size());  // the whole file
            EXPECT_EQ(field32(bmp, 10), 138u);       // where the pixels begin
            EXPECT_EQ(field32(bmp, 18), static_cast<std::uint32_t>(width));
            EXPECT_EQ(field32(bmp, 22), 5u);         // positive: bottom-up
            EXPECT_EQ(field32(bmp, 28) & 0xffff, 24u);
            EXPECT_EQ(field32(bmp, 30), 0u);         // uncompressed
            EXPECT_EQ(field32(bmp, 34), 5 * rowBytes);
            // The bottom row comes first, blue before red; its padding is zero.
            EXPECT_EQ(static_cast<std::uint8_t>(bmp[138 + 2]), picture.getpoint(0, 4)[0]);
            EXPECT_EQ(static_cast<std::uint8_t>(bmp[138]), picture.getpoint(0, 4)[bands == 3 ? 2 : 0]);
            EXPECT_EQ(bmp.substr(138 + width * 3, rowBytes - width * 3), std::string(rowBytes - width * 3, '\0'));

            const VImage back = VImage::new_from_buffer(bmp, "");
            ASSERT_EQ(back.width(), width);
            ASSERT_EQ(back.height(), 5);
            EXPECT_FALSE(back.has_alpha());
            const VImage expected = bands == 3 ? picture : VImage::bandjoin({picture, picture, picture});
            const VImage color = back.bands() == 1 ? VImage::bandjoin({back, back, back}) : back;
            ASSERT_EQ(color.bands(), 3);
            EXPECT_EQ((color.cast(VIPS_FORMAT_INT) - expected.cast(VIPS_FORMAT_INT)).abs().max(), 0.0);
        }
    }
}

}  // namespace
}  // namespace voveriz
