// What reaches the written pixels and metadata: transparency, animation, pages, HEIC, color profile, EXIF.
#include "engine/pipeline/Encode.h"
#include "engine/plan/OutputFormat.h"

#include "EngineTestSupport.h"

#include <vips/vips8>

namespace voveriz::testing {
namespace {

namespace fs = std::filesystem;
using vips::VImage;

// Left half fully transparent black, right half opaque red.
VImage halfTransparent(int width, int height)
{
    VImage x = VImage::xyz(width, height)[0];
    VImage opaque = (x >= width / 2);  // 255 on the right, 0 on the left
    VImage red = opaque.bandjoin(VImage::black(width, height)).bandjoin(VImage::black(width, height));
    return red.bandjoin(opaque).cast(VIPS_FORMAT_UCHAR).copy(
        VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

std::vector<double> pixel(const fs::path& file, int x, int y)
{
    return VImage::new_from_file(file.c_str()).getpoint(x, y);
}

class Transparency : public EngineTest {};

TEST_F(Transparency, JpegAndBmpAreFlattenedOntoWhite)
{
    const VImage source = halfTransparent(200, 100);
    for (const char* name : {"clear", "clear.webp", "clear.jpg"}) {
        saveImage(source, in / name, ".png");  // PNG content under names that make JPEG output
    }
    const std::pair<const char*, const char*> cases[] = {{"clear", "clear.jpg"}, {"clear.webp", "clear (1).jpg"},
                                                          {"clear.jpg", "clear (2).jpg"}};
    for (const auto& [name, written] : cases) {
        EXPECT_EQ(run(name, 100).outcome(), Outcome::Resized) << name;
        const std::vector<double> left = pixel(out / written, 10, 25);
        ASSERT_EQ(left.size(), 3u) << written;
        for (double v : left) EXPECT_GT(v, 240) << written << ": transparent areas must turn white";
        const std::vector<double> right = pixel(out / written, 90, 25);
        EXPECT_GT(right[0], 200) << written;
        EXPECT_LT(right[1], 40) << written;
    }

    // BMP: ImageMagick reads and writes it; the engine flattens before handing it over.
    const VImage bmp = VImage::new_from_buffer(encodeImage(halfTransparent(40, 20), ImageFormat::Bmp), "");
    EXPECT_FALSE(bmp.has_alpha());
    for (double v : bmp.getpoint(2, 10)) EXPECT_GT(v, 240);
    EXPECT_GT(bmp.getpoint(38, 10)[0], 200);
}

TEST_F(Transparency, PngTiffAndGifKeepAlpha)
{
    for (const char* name : {"keep.png", "keep.tif", "keep.gif"}) {
        saveImage(halfTransparent(200, 100), in / name, ".png");
        EXPECT_EQ(run(name, 100).outcome(), Outcome::Resized) << name;
        const VImage written = VImage::new_from_file((out / name).c_str());
        EXPECT_EQ(written.width(), 100) << name;
        EXPECT_TRUE(written.has_alpha()) << name;
        EXPECT_EQ(written.getpoint(10, 25).back(), 0) << name << ": left stays transparent";
        EXPECT_EQ(written.getpoint(90, 25).back(), 255) << name << ": right stays opaque";
    }
}

// Four frames of 60 x 40, each its own grey level.
VImage fourFrames()
{
    VImage y = VImage::xyz(60, 160)[1];
    VImage grey = (y / 40).floor() * 60 + 20;  // 20, 80, 140, 200
    VImage frames = grey.bandjoin(grey).bandjoin(grey).cast(VIPS_FORMAT_UCHAR).copy(
        VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    frames.set("page-height", 40);
    return frames;
}

class Animation : public EngineTest {
protected:
    void SetUp() override
    {
        void* data = nullptr;
        size_t size = 0;
        VImage frames = fourFrames();
        frames.set("delay", std::vector<int>{100, 200, 300, 400});
        frames.set("loop", 3);
        frames.write_to_buffer(".gif", &data, &size);
        testing::writeFile(in / "anim.gif", std::string(static_cast<char*>(data), size));
        g_free(data);
    }
};

TEST_F(Animation, AGifStaysAnimatedWithEveryFrameScaled)
{
    const ResizeResult result = run("anim.gif", 30);
    EXPECT_EQ(result.outcome(), Outcome::Resized);
    EXPECT_EQ(result.message(), "anim.gif 60x40\n   anim.gif 30x20");
    const VImage written = VImage::new_from_file((out / "anim.gif").c_str(), VImage::option()->set("n", -1));
    EXPECT_EQ(written.get_int("n-pages"), 4);
    EXPECT_EQ(written.get_int("page-height"), 20);
    EXPECT_EQ(written.width(), 30);
    EXPECT_EQ(written.height(), 80);
    EXPECT_EQ(written.get_array_int("delay"), (std::vector<int>{100, 200, 300, 400}));
    EXPECT_EQ(written.get_int("loop"), 3);
    for (int frame = 0; frame < 4; ++frame) {
        EXPECT_NEAR(written.getpoint(15, frame * 20 + 10)[0], 20 + 60 * frame, 4) << "frame " << frame;
    }
}

TEST_F(Animation, TheMeasuredSizeIsOneFrame)
{
    // The frames stacked are 160 tall; one frame is 40.
    EXPECT_EQ(run("anim.gif", 40, Dimension::Height).message(), "anim.gif - already 40px tall, copied as-is");
    EXPECT_EQ(run("anim.gif", 20, Dimension::Height).message(), "anim.gif 60x40\n   anim (1).gif 30x20");
}

TEST_F(Animation, WrittenAsAnotherFormatItIsTheFirstFrame)
{
    fs::copy_file(in / "anim.gif", in / "anim.webp");
    EXPECT_EQ(run("anim.webp", 30).message(), "anim.webp 60x40\n   anim.jpg 30x20");
    EXPECT_EQ(imageSize(out / "anim.jpg"), (PixelSize{30, 20}));
    EXPECT_NEAR(pixel(out / "anim.jpg", 15, 10)[0], 20, 4);
}

TEST_F(EngineTest, AMultiPageTiffIsItsFirstPage)
{
    fourFrames().tiffsave((in / "pages.tif").c_str(), VImage::option()->set("page_height", 40));
    ASSERT_EQ(VImage::new_from_file((in / "pages.tif").c_str()).get_int("n-pages"), 4);
    EXPECT_EQ(run("pages.tif", 30).message(), "pages.tif 60x40\n   pages.tif 30x20");
    const VImage written = VImage::new_from_file((out / "pages.tif").c_str());
    EXPECT_EQ(written.get_typeof("n-pages") != 0 ? written.get_int("n-pages") : 1, 1);
    EXPECT_EQ(imageSize(out / "pages.tif"), (PixelSize{30, 20}));
    EXPECT_NEAR(written.getpoint(15, 10)[0], 20, 4);
}

TEST_F(EngineTest, HeicIsReadAndWrittenAsJpeg)
{
    // libheif on Debian 12 has the x265 encoder, so libvips can make a real HEIC (HEVC) here.
    try {
        testing::gradientImage(96, 64).heifsave((in / "photo.heic").c_str(),
                                                VImage::option()->set("compression", VIPS_FOREIGN_HEIF_COMPRESSION_HEVC));
    } catch (const vips::VError& e) {
        GTEST_SKIP() << "no HEVC encoder to make a HEIC test file: " << e.what();
    }
    ASSERT_EQ(loaderOf(in / "photo.heic"), "heifload");
    EXPECT_EQ(run("photo.heic", 48).message(), "photo.heic 96x64\n   photo.jpg 48x32");
    EXPECT_EQ(loaderOf(out / "photo.jpg"), "jpegload");
    EXPECT_EQ(imageSize(out / "photo.jpg"), (PixelSize{48, 32}));
    EXPECT_EQ(run("photo.heic", 96).message(), "photo.heic - already 96px wide, copied as-is");
    EXPECT_TRUE(testing::readFile(out / "photo.heic") == testing::readFile(in / "photo.heic"));
}

std::string blobText(const VImage& image, const char* field)
{
    if (image.get_typeof(field) == 0) return {};
    size_t length = 0;
    const void* data = image.get_blob(field, &length);
    return std::string(static_cast<const char*>(data), length);
}

TEST_F(EngineTest, TheColorProfileAndCameraDataAreKept)
{
    // A wide-gamut (Display P3) picture with camera data in its EXIF.
    VImage source = testing::gradientImage(300, 200).icc_transform("p3").copy();
    source.set("exif-ifd0-Make", "Voveriz Camera Works");
    source.set("exif-ifd0-DateTime", "2024:05:06 07:08:09");
    saveImage(source, in / "wide.jpg", ".jpg");
    const VImage loaded = VImage::new_from_file((in / "wide.jpg").c_str());
    const std::string profile = blobText(loaded, VIPS_META_ICC_NAME);
    ASSERT_FALSE(profile.empty());
    for (const char* name : {"wide.png", "wide.tif"}) fs::copy_file(in / "wide.jpg", in / name);

    for (const char* name : {"wide.jpg", "wide.png", "wide.tif"}) {
        ASSERT_EQ(run(name, 150).outcome(), Outcome::Resized) << name;
        const VImage written = VImage::new_from_file((out / name).c_str());
        EXPECT_TRUE(blobText(written, VIPS_META_ICC_NAME) == profile) << name << ": the profile must survive";
    }
    const VImage jpeg = VImage::new_from_file((out / "wide.jpg").c_str());
    EXPECT_NE(std::string(jpeg.get_string("exif-ifd0-Make")).find("Voveriz Camera Works"), std::string::npos);
    EXPECT_NE(std::string(jpeg.get_string("exif-ifd0-DateTime")).find("2024:05:06 07:08:09"), std::string::npos);

    // GIF and BMP carry no profile: their pixels are converted to sRGB instead.
    for (const char* name : {"wide.gif", "wide.bmp"}) fs::copy_file(in / "wide.jpg", in / name);
    TempDir reference;
    testing::gradientImage(300, 200).jpegsave((reference / "srgb.jpg").c_str());
    runOn(reference / "srgb.jpg", 150, Dimension::Width, reference.path());
    const VImage expected = VImage::new_from_file((reference / "srgb (1).jpg").c_str());
    for (const char* name : {"wide.gif", "wide.bmp"}) {
        ASSERT_EQ(run(name, 150).outcome(), Outcome::Resized) << name;
        const VImage written = VImage::new_from_file((out / name).c_str()).extract_band(0, VImage::option()->set("n", 3));
        EXPECT_LT((written.cast(VIPS_FORMAT_FLOAT) - expected.cast(VIPS_FORMAT_FLOAT)).abs().avg(), 6.0) << name;
    }
}

TEST_F(EngineTest, CmykPixelsMadeSrgbCarryNoCmykProfile)
{
    // The gradient in ink: a TIFF without a profile (libvips reads it with its own fallback CMYK
    // profile) and a JPEG with the CMYK profile embedded; each written as TIFF, JPEG and PNG.
    const VImage ink = testing::gradientImage(300, 200).icc_transform("cmyk", VImage::option()->set("input_profile", "srgb"));
    ASSERT_EQ(ink.interpretation(), VIPS_INTERPRETATION_CMYK);
    VImage bare = ink.copy();
    bare.remove(VIPS_META_ICC_NAME);
    saveImage(bare, in / "bare.tif", ".tif");
    saveImage(ink, in / "inked.jpg", ".jpg");
    const std::string srgb = blobText(
        testing::gradientImage(2, 2).icc_transform("srgb", VImage::option()->set("input_profile", "srgb")),
        VIPS_META_ICC_NAME);
    ASSERT_FALSE(srgb.empty());
    for (const char* source : {"bare.tif", "inked.jpg"}) {
        const std::string base = fs::path(source).stem().string();
        for (const char* extension : {".tif", ".jpg", ".png"}) {
            const std::string name = base + "-as" + extension;
            fs::copy_file(in / source, in / name);
            ASSERT_EQ(run(name, 150).outcome(), Outcome::Resized) << name;
            const VImage written = VImage::new_from_file((out / name).c_str());
            EXPECT_EQ(written.bands(), 3) << name;
            const std::string profile = blobText(written, VIPS_META_ICC_NAME);
            EXPECT_TRUE(profile.empty() || profile == srgb) << name << ": sRGB pixels under a " << profile.size()
                                                             << "-byte profile that is not sRGB";
        }
    }
}

}  // namespace
}  // namespace voveriz::testing
