// A photo written as WebP, AVIF or JPEG XL keeps what a JPEG output keeps: its color profile, its
// EXIF without GPS under --strip-location, nothing but the profile under --strip, and no preview
// or orientation that contradicts its pixels. Read back by libvips and libexif.
#include "EngineTestSupport.h"
#include "MetadataPhoto.h"
#include "engine/pipeline/Encode.h"

#include <vips/vips8>

namespace voveriz::testing {
namespace {

bool writes(ImageFormat format)
{
    try {
        return !encodeImage(gradientImage(8, 8), format).empty();
    } catch (const vips::VError&) {
        vips_error_clear();
        return false;
    }
}

void expectMetadataRules(ImageFormat format, const std::string& written)
{
    TempDir in;
    PhotoMetadata metadata;
    metadata.orientation = 6;
    metadata.thumbnail = true;
    metadata.location = true;
    metadata.p3Profile = true;
    writePhoto(gradientImage(400, 300), metadata, in / "IMG_1.jpg");
    const std::string profile = displayP3Profile();
    const SizeRule rule { SizeMode::Width, 150 };
    const OutputChoice choice { format, 0 };

    {
        TempDir out;
        const ResizeResult result = resizeImage(in / "IMG_1.jpg", rule, out.path(), {}, choice);
        ASSERT_EQ(result.outcome(), Outcome::Resized) << result.message();
        const ReadBack back = readBack(out / written);
        EXPECT_EQ(back.pixels.width(), 150);
        EXPECT_EQ(back.pixels.height(), 200);
        EXPECT_EQ(back.profile, profile);
        EXPECT_TRUE(back.cameraMake);
        EXPECT_TRUE(back.exifGps);
        EXPECT_FALSE(back.exifThumbnail);
        EXPECT_TRUE(back.exifOrientation == 0 || back.exifOrientation == 1) << back.exifOrientation;
    }
    {
        TempDir out;
        resizeImage(in / "IMG_1.jpg", rule, out.path(), { .stripLocation = true }, choice);
        const ReadBack back = readBack(out / written);
        EXPECT_TRUE(back.cameraMake);
        EXPECT_FALSE(back.exifGps);
        EXPECT_EQ(back.xmp.find(kCity), std::string::npos);
        EXPECT_EQ(back.profile, profile);
    }
    {
        TempDir out;
        resizeImage(in / "IMG_1.jpg", rule, out.path(), { .strip = true }, choice);
        const ReadBack back = readBack(out / written);
        // libvips 8.14 writes a fresh EXIF block of its own into every HEIF file; none of the
        // source's is left in it. A WebP carries none.
        if (format == ImageFormat::Webp) { EXPECT_FALSE(back.exif); }
        EXPECT_FALSE(back.cameraMake);
        EXPECT_FALSE(back.exifGps);
        EXPECT_EQ(back.xmp, "");
        EXPECT_EQ(back.profile, profile);
    }
}

TEST(OutputFormatMetadata, WebpKeepsWhatAJpegKeeps)
{
    expectMetadataRules(ImageFormat::Webp, "IMG_1.webp");
}

TEST(OutputFormatMetadata, AvifKeepsWhatAJpegKeeps)
{
    if (!writes(ImageFormat::Avif)) GTEST_SKIP() << "this libvips writes no AVIF";
    expectMetadataRules(ImageFormat::Avif, "IMG_1.avif");
}

} // namespace
} // namespace voveriz::testing
