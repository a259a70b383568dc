// The outcome table: each status and message, the size arithmetic, the format table.
#include "engine/pipeline/Encode.h"
#include "engine/plan/OutputFormat.h"
#include "engine/resample/ReduceToSize.h"
#include "engine/plan/ScaledSize.h"

#include "engine/ResultLine.h"

#include "EngineTestSupport.h"

#include <vips/vips8>

namespace voveriz::testing {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

TEST(ScaledSize, DividesFirstThenMultipliesAndRoundsHalfAwayFromZero)
{
    struct Case {
        std::int64_t target, measured, other, expected;
    };
    const Case cases[] = {
        {7, 10, 45, 31},   // 0.7 * 45 = 31.499999999999996, not 31.5
        {1, 2, 1, 1},      // 0.5 rounds away from zero
        {1, 3, 1, 0},      // no lower bound
        {1200, 4032, 3024, 900},
        {1080, 5120, 2880, 608},  // 607.5 rounds up
        {500, 300, 4000, 6667},
        {1, 1000000, 999999, 1},
        {3, 4, 2, 2},      // 1.5 rounds up
        {1, 4, 2, 1},      // 0.5 rounds up
        {1, 6, 2, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scaledOtherSide(c.target, c.measured, c.other), c.expected)
            << c.target << " of " << c.measured << " x " << c.other;
    }
}

TEST(OutputFormatTable, GoesByTheLowerCasedSourceExtension)
{
    struct Case {
        const char* extension;
        ImageFormat format;
        const char* written;
    };
    const Case cases[] = {
        {"jpg", ImageFormat::Jpeg, "jpg"},   {"JPG", ImageFormat::Jpeg, "jpg"},   {"jpeg", ImageFormat::Jpeg, "jpeg"},
        {"JPEG", ImageFormat::Jpeg, "jpeg"}, {"png", ImageFormat::Png, "png"},    {"PnG", ImageFormat::Png, "png"},
        {"tiff", ImageFormat::Tiff, "tiff"}, {"TIF", ImageFormat::Tiff, "tif"},   {"bmp", ImageFormat::Bmp, "bmp"},
        {"BMP", ImageFormat::Bmp, "bmp"},    {"gif", ImageFormat::Gif, "gif"},    {"GIF", ImageFormat::Gif, "gif"},
        {"heic", ImageFormat::Jpeg, "jpg"},  {"webp", ImageFormat::Jpeg, "jpg"},  {"", ImageFormat::Jpeg, "jpg"},
        {"jpe", ImageFormat::Jpeg, "jpg"},   {"jpg ", ImageFormat::Jpeg, "jpg"},  {"gz", ImageFormat::Jpeg, "jpg"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(outputFormatFor(c.extension), (OutputFormat{c.format, c.written})) << '"' << c.extension << '"';
    }
}

class ResizeOutcome : public EngineTest {};

TEST_F(ResizeOutcome, ScalesALargeJpegToTheTargetWidth)
{
    writeImage(in / "IMG_0001.JPG", 4032, 3024);
    const ResizeResult result = run("IMG_0001.JPG", 1200);
    EXPECT_EQ(result.outcome(), Outcome::Resized);
    EXPECT_EQ(result.message(), "IMG_0001.JPG 4032x3024\n   IMG_0001.jpg 1200x900");
    EXPECT_EQ(listFolder(out.path()), Names{"IMG_0001.jpg"});
    EXPECT_EQ(imageSize(out / "IMG_0001.jpg"), (PixelSize{1200, 900}));
    EXPECT_EQ(loaderOf(out / "IMG_0001.jpg"), "jpegload");

    // The photo is reduced in its YCbCr planes: other bytes than its RGB pixels reduced (as libvips
    // 8.14's thumbnail does) and saved at quality 92, the same image: 55 dB from it, where those
    // pixels saved at quality 85 are 48 dB from it.
    const std::string source = (in / "IMG_0001.JPG").string();
    const vips::VImage theirs =
        reduceToSize(vips::VImage::new_from_file(source.c_str()), 1200.0 / 4032, 900.0 / 3024).copy_memory();
    void* data = nullptr;
    size_t size = 0;
    theirs.write_to_buffer(".jpg", &data, &size, vips::VImage::option()->set("Q", 92));
    const vips::VImage saved = vips::VImage::new_from_buffer(data, size, "").copy_memory();
    g_free(data);
    const vips::VImage ours = vips::VImage::new_from_file((out / "IMG_0001.jpg").c_str());
    EXPECT_GE(psnr(saved, ours), 52.0);
}

TEST_F(ResizeOutcome, CopiesAnImageThatIsExactlyAsWideAsTheTarget)
{
    writeImage(in / "wide.jpg", 1200, 3000);
    const ResizeResult result = run("wide.jpg", 1200);
    EXPECT_EQ(result.outcome(), Outcome::Copied);
    EXPECT_EQ(result.message(), "wide.jpg - already 1200px wide, copied as-is");
    EXPECT_EQ(listFolder(out.path()), Names{"wide.jpg"});
    EXPECT_TRUE(readFile(out / "wide.jpg") == readFile(in / "wide.jpg"));
}

TEST_F(ResizeOutcome, HeightModeLooksOnlyAtTheHeight)
{
    writeImage(in / "banner.png", 4000, 300);
    const ResizeResult result = run("banner.png", 500, Dimension::Height);
    EXPECT_EQ(result.outcome(), Outcome::Copied);
    EXPECT_EQ(result.message(), "banner.png - already 300px tall, copied as-is");
    EXPECT_TRUE(readFile(out / "banner.png") == readFile(in / "banner.png"));
}

TEST_F(ResizeOutcome, WidthModeLooksOnlyAtTheWidth)
{
    writeImage(in / "tower.png", 300, 4000);
    EXPECT_EQ(run("tower.png", 500).message(), "tower.png - already 300px wide, copied as-is");
}

TEST(ResultLine, EachOutcomeGivesItsStatusMarkAndMessage)
{
    struct Case {
        ResizeResult result;
        const char* status;
        const char* line;
    };
    const Case cases[] = {
        {ResizeResult::resized("trip/a.JPG", {4032, 3024}, "trip/a (1).jpg", {1200, 900}), "ok",
         "\u2713  trip/a.JPG 4032x3024\n   trip/a (1).jpg 1200x900"},
        {ResizeResult::copied("a.png", {800, 600}, Dimension::Width, "a (2).png"), "skip",
         "-  a.png - already 800px wide, copied as-is"},
        {ResizeResult::copied("a.png", {800, 600}, Dimension::Height, "a.png"), "skip",
         "-  a.png - already 600px tall, copied as-is"},
        {ResizeResult::notAnImage("notes.txt"), "skip", "-  notes.txt - not an image, skipped"},
        {ResizeResult::failed("a.jpg", "Permission denied"), "error", "\u2717  a.jpg - Permission denied"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.result.status(), c.status) << c.line;
        EXPECT_EQ(resultLine(c.result), c.line);
    }
}

TEST(Dimension, OnlyTheExactLowerCaseNamesAreADimension)
{
    EXPECT_EQ(dimensionNamed("width"), Dimension::Width);
    EXPECT_EQ(dimensionNamed("height"), Dimension::Height);
    for (const char* text : {"Width", "HEIGHT", "", "width ", "w"}) {
        EXPECT_EQ(dimensionNamed(text), std::nullopt) << '"' << text << '"';
    }
    EXPECT_EQ(dimensionNamed(dimensionName(Dimension::Height)), Dimension::Height);
}

TEST_F(ResizeOutcome, SizeArithmeticReachesTheWrittenFile)
{
    struct Case {
        int width, height;
        std::int64_t target;
        Dimension dimension;
        const char* message;
        PixelSize written;
    };
    const Case cases[] = {
        {10, 45, 7, Dimension::Width, "s.png 10x45\n   s.png 7x31", {7, 31}},
        {45, 10, 7, Dimension::Height, "s.png 45x10\n   s.png 31x7", {31, 7}},
        {2, 1, 1, Dimension::Width, "s.png 2x1\n   s.png 1x1", {1, 1}},
        {5120, 2880, 1080, Dimension::Width, "s.png 5120x2880\n   s.png 1080x608", {1080, 608}},
        {3001, 2001, 1000, Dimension::Width, "s.png 3001x2001\n   s.png 1000x667", {1000, 667}},
        {3001, 2001, 999, Dimension::Height, "s.png 3001x2001\n   s.png 1498x999", {1498, 999}},
        {1000, 1000, 999, Dimension::Width, "s.png 1000x1000\n   s.png 999x999", {999, 999}},
    };
    for (const Case& c : cases) {
        TempDir source;
        TempDir folder;
        // Stored as TIFF (quick to write) under a PNG name: the name decides the output format.
        testing::saveImage(testing::gradientImage(c.width, c.height), source / "s.png", ".tif");
        const ResizeResult result = runOn(source / "s.png", c.target, c.dimension, folder.path());
        EXPECT_EQ(result.outcome(), Outcome::Resized) << c.message;
        EXPECT_EQ(result.message(), c.message);
        EXPECT_EQ(imageSize(folder / "s.png"), c.written) << c.message;
    }
}

TEST_F(ResizeOutcome, ShrinkOnLoadStillGivesTheExactSize)
{
    // JPEG shrink-on-load decodes at 1/2, 1/4 or 1/8 first; the written size must still be exact.
    writeImage(in / "big.jpg", 4001, 2999);
    const struct {
        int target, height, width;  // the other side when the target is the width; when it is the height
    } cases[] = {
        {3999, 2998, 0},  // 2997.50087...; no height case: 2999 is already within 3999
        {2000, 1499, 2668}, {1001, 750, 1335}, {999, 749, 1333}, {500, 375, 667},
        {333, 250, 444}, {17, 13, 23}, {2, 1, 3},  // 1.49912... rounds down
    };
    for (const auto& c : cases) {
        TempDir wide;
        runOn(in / "big.jpg", c.target, Dimension::Width, wide.path());
        EXPECT_EQ(imageSize(wide / "big.jpg"), (PixelSize{c.target, c.height})) << c.target;
        if (c.width == 0) continue;
        TempDir tall;
        runOn(in / "big.jpg", c.target, Dimension::Height, tall.path());
        EXPECT_EQ(imageSize(tall / "big.jpg"), (PixelSize{c.width, c.target})) << c.target;
    }
}

TEST_F(ResizeOutcome, AComputedSideOfZeroIsAnErrorAndWritesNothing)
{
    writeImage(in / "line.png", 3, 1);
    const ResizeResult result = run("line.png", 1);
    EXPECT_EQ(result.outcome(), Outcome::Failed);
    EXPECT_EQ(result.message(), "line.png - failed to create resized image");
    EXPECT_EQ(listFolder(out.path()), Names{});

    writeImage(in / "post.png", 1, 3);
    EXPECT_EQ(run("post.png", 1, Dimension::Height).message(), "post.png - failed to create resized image");
    EXPECT_EQ(listFolder(out.path()), Names{});
}

TEST_F(ResizeOutcome, AnImageTheEncoderRefusesIsAFailedEncode)
{
    // JPEG stops at 65535 pixels a side: the image decodes and scales, but cannot be encoded.
    testing::saveImage(testing::gradientImage(70000, 2), in / "strip.webp", ".png");
    const ResizeResult result = run("strip.webp", 66000);
    EXPECT_EQ(result.outcome(), Outcome::Failed);
    EXPECT_EQ(result.message(), "strip.webp - failed to encode");
    EXPECT_EQ(listFolder(out.path()), Names{});
}

TEST_F(ResizeOutcome, ChoosesTheFormatByTheSourceExtension)
{
    struct Case {
        const char* source;
        const char* savedAs;  // the format the test source really is
        const char* written;
        const char* loader;
    };
    const Case cases[] = {
        {"a.jpg", ".jpg", "a.jpg", "jpegload"},
        {"Pic.JPEG", ".jpg", "Pic.jpeg", "jpegload"},
        {"b.png", ".png", "b.png", "pngload"},
        {"B2.PNG", ".png", "B2.png", "pngload"},
        {"c.tiff", ".tif", "c.tiff", "tiffload"},
        {"scan.TIF", ".tif", "scan.tif", "tiffload"},
        {"d.bmp", ".bmp", "d.bmp", "magickload"},
        {"D2.BMP", ".bmp", "D2.bmp", "magickload"},
        {"e.gif", ".gif", "e.gif", "gifload"},
        {"E2.GIF", ".gif", "E2.gif", "gifload"},
        {"w.webp", ".webp", "w.jpg", "jpegload"},
        {"noext", ".png", "noext.jpg", "jpegload"},
        {"mislabelled.png", ".jpg", "mislabelled.png", "pngload"},  // the name decides, not the content
        {"archive.tar.gz", ".png", "archive.tar.jpg", "jpegload"},
        {".hidden", ".png", ".hidden.jpg", "jpegload"},
    };
    for (const Case& c : cases) {
        testing::saveImage(testing::gradientImage(80, 60), in / c.source, c.savedAs);
        const ResizeResult result = run(c.source, 40);
        EXPECT_EQ(result.outcome(), Outcome::Resized) << c.source;
        EXPECT_EQ(result.message(), std::string(c.source) + " 80x60\n   " + c.written + " 40x30");
        ASSERT_TRUE(fs::exists(out / c.written)) << c.written;
        EXPECT_EQ(loaderOf(out / c.written), c.loader) << c.written;
        EXPECT_EQ(imageSize(out / c.written), (PixelSize{40, 30})) << c.written;
    }
}

TEST_F(ResizeOutcome, ACopyKeepsTheNameTheCaseAndTheBytes)
{
    struct Case {
        const char* source;
        const char* savedAs;
    };
    const Case cases[] = {{"Small.PNG", ".png"}, {"IMG_7.JPG", ".jpg"}, {"Mixed.TiF", ".tif"}, {"x.Bmp", ".bmp"},
                          {"README", ".png"},    {"anim.GIF", ".gif"}};
    for (const Case& c : cases) {
        testing::saveImage(testing::gradientImage(50, 40), in / c.source, c.savedAs);
        const ResizeResult result = run(c.source, 50);
        EXPECT_EQ(result.outcome(), Outcome::Copied);
        EXPECT_EQ(result.message(), std::string(c.source) + " - already 50px wide, copied as-is");
        EXPECT_TRUE(readFile(out / c.source) == readFile(in / c.source)) << c.source;
    }
    EXPECT_EQ(listFolder(out.path()), (Names{"IMG_7.JPG", "Mixed.TiF", "README", "Small.PNG", "anim.GIF", "x.Bmp"}));
    // The copy keeps the source's modification time, as a file manager's copy does.
    EXPECT_EQ(fs::last_write_time(out / "Small.PNG"), fs::last_write_time(in / "Small.PNG"));
}

TEST_F(ResizeOutcome, ATakenNameGetsTheNextNumberAndTheMessageSaysSo)
{
    writeImage(in / "photo.jpg", 200, 100);
    writeFile(out / "photo.jpg", "mine");
    const ResizeResult result = run("photo.jpg", 100);
    EXPECT_EQ(result.message(), "photo.jpg 200x100\n   photo (1).jpg 100x50");
    EXPECT_EQ(readFile(out / "photo.jpg"), "mine");

    EXPECT_EQ(run("photo.jpg", 100).message(), "photo.jpg 200x100\n   photo (2).jpg 100x50");
    EXPECT_EQ(run("photo.jpg", 300).message(), "photo.jpg - already 200px wide, copied as-is");
    EXPECT_EQ(listFolder(out.path()), (Names{"photo (1).jpg", "photo (2).jpg", "photo (3).jpg", "photo.jpg"}));
    EXPECT_TRUE(readFile(out / "photo (3).jpg") == readFile(in / "photo.jpg"));
}

TEST_F(ResizeOutcome, ANameEndingInADotIsWrittenWithTheDotKept)
{
    testing::saveImage(testing::gradientImage(200, 100), in / "photo.", ".png");
    EXPECT_EQ(run("photo.", 100).message(), "photo. 200x100\n   photo..jpg 100x50");
    EXPECT_EQ(run("photo.", 300).message(), "photo. - already 200px wide, copied as-is");
    EXPECT_EQ(run("photo.", 300).message(), "photo. - already 200px wide, copied as-is");
    EXPECT_EQ(listFolder(out.path()), (Names{"photo.", "photo. (1)", "photo..jpg"}));
}

TEST_F(ResizeOutcome, AMissingOutputFolderIsAnErrorForCopiesToo)
{
    writeImage(in / "big.png", 200, 100);
    writeImage(in / "small.png", 20, 10);
    const fs::path missing = out / "gone";
    const ResizeResult scaled = runOn(in / "big.png", 100, Dimension::Width, missing);
    EXPECT_EQ(scaled.outcome(), Outcome::Failed);
    EXPECT_EQ(scaled.message(), "big.png - No such file or directory");
    const ResizeResult copied = runOn(in / "small.png", 100, Dimension::Width, missing);
    EXPECT_EQ(copied.outcome(), Outcome::Failed);
    EXPECT_EQ(copied.message(), "small.png - No such file or directory");
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(ResizeOutcome, AnOutputFolderThatIsAFileIsAnError)
{
    writeImage(in / "big.png", 200, 100);
    writeFile(out / "file", "x");
    const ResizeResult result = runOn(in / "big.png", 100, Dimension::Width, out / "file");
    EXPECT_EQ(result.outcome(), Outcome::Failed);
    EXPECT_EQ(result.message(), "big.png - Not a directory");
}

}  // namespace
}  // namespace voveriz::testing
