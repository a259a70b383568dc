// A photo written as WebP, AVIF or JPEG XL keeps what a JPEG output keeps: its color profile, its
// EXIF without GPS under --strip-location, nothing but the profile under --strip, and no preview
// or orientation that contradicts its pixels. Read back by libvips and libexif.
#include "EngineTestSupport.h"
#include "MetadataPhoto.h"
#include "engine/pipeline/Encode.h"

#include <vips/vips8>

#include <filesystem>

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

// Whether profile means the same colors as expected: libjxl keeps a profile it can describe as its
// own color encoding, and makes a profile anew when the file is read. Red, green, blue, white and
// a grey, taken into CIELAB through each profile, differ by less than one unit.
::testing::AssertionResult sameColors(const std::string& profile, const std::string& expected)
{
    if (profile.empty()) return ::testing::AssertionFailure() << "no profile";
    const auto lab = [](const std::string& icc) {
        static const unsigned char rgb[] = { 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 128, 128, 128 };
        vips::VImage image = vips::VImage::new_from_memory(const_cast<unsigned char*>(rgb), sizeof rgb, 5, 1, 3,
                                                           VIPS_FORMAT_UCHAR)
                                 .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
        image.set(VIPS_META_ICC_NAME, nullptr, const_cast<char*>(icc.data()), icc.size());
        return image.icc_import(vips::VImage::option()->set("embedded", true)).copy_memory();
    };
    const double difference = (lab(profile) - lab(expected)).abs().max();
    if (difference < 1.0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "colors differ by up to " << difference << " in CIELAB";
}

// Whether libvips writes a JPEG XL file's EXIF at all (from 8.15); the rules for a block are
// checked wherever the block is written.
bool jxlCarriesExif(const std::filesystem::path& photo)
{
    const vips::VImage read = vips::VImage::new_from_file(photo.c_str());
    void* data = nullptr;
    size_t size = 0;
    read.write_to_buffer(".jxl", &data, &size);
    const vips::VImage back = vips::VImage::new_from_buffer(data, size, "");
    const bool carries = back.get_typeof(VIPS_META_EXIF_NAME) != 0;
    g_free(data);
    return carries;
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
    const bool exifWritten = format != ImageFormat::Jxl || jxlCarriesExif(in / "IMG_1.jpg");
    const auto expectProfile = [&](const std::string& back) {
        if (format == ImageFormat::Jxl) {
            EXPECT_TRUE(sameColors(back, profile));
        } else {
            EXPECT_EQ(back, profile);
        }
    };

    {
        TempDir out;
        const ResizeResult result = resizeImage(in / "IMG_1.jpg", rule, out.path(), {}, choice);
        ASSERT_EQ(result.outcome(), Outcome::Resized) << result.message();
        const ReadBack back = readBack(out / written);
        EXPECT_EQ(back.pixels.width(), 150);
        EXPECT_EQ(back.pixels.height(), 200);
        expectProfile(back.profile);
        EXPECT_EQ(back.cameraMake, exifWritten);
        EXPECT_EQ(back.exifGps, exifWritten);
        EXPECT_FALSE(back.exifThumbnail);
        EXPECT_TRUE(back.exifOrientation == 0 || back.exifOrientation == 1) << back.exifOrientation;
    }
    {
        TempDir out;
        resizeImage(in / "IMG_1.jpg", rule, out.path(), { .stripLocation = true }, choice);
        const ReadBack back = readBack(out / written);
        EXPECT_EQ(back.cameraMake, exifWritten);
        EXPECT_FALSE(back.exifGps);
        EXPECT_EQ(back.xmp.find(kCity), std::string::npos);
        expectProfile(back.profile);
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
        expectProfile(back.profile);
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

TEST(OutputFormatMetadata, JxlKeepsWhatAJpegKeeps)
{
    if (!writes(ImageFormat::Jxl)) GTEST_SKIP() << "this libvips writes no JPEG XL";
    expectMetadataRules(ImageFormat::Jxl, "IMG_1.jxl");
}

} // namespace
} // namespace voveriz::testing
