// --format, --quality and --max-bytes: which format, name, size and line each output gets, what is
// copied byte for byte, and the usage errors. Outputs are read back by libvips.
#include "cli/CliProcess.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <vips/vips8>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace voveriz::testing;

namespace {

const std::string kOk = "\u2713  ";

struct LoadedOutput {
    std::string loader;
    PixelSize size;
    int bands = 0;
};

LoadedOutput loaded(const fs::path& file)
{
    const vips::VImage image = vips::VImage::new_from_file(file.c_str());
    return { image.get_string("vips-loader"), { image.width(), image.height() }, image.bands() };
}

TEST(CliFormat, EachOutputInTheFormatAskedConvertedOrCopied)
{
    TempDir in;
    writeImage(in / "big.png", 400, 300);
    writeImage(in / "small.jpg", 80, 60);
    // Transparent at its left edge, opaque at its right.
    const vips::VImage ramp = vips::VImage::xyz(80, 60)[0] * (255.0 / 79);
    gradientImage(80, 60).bandjoin(ramp.cast(VIPS_FORMAT_UCHAR)).pngsave((in / "clear.png").c_str());
    struct Row {
        std::vector<std::string> options;
        std::string source;
        std::string line;
        std::string written;
        std::string loader;
        PixelSize size;
        int bands;
        bool sameBytes = false;
    };
    const std::string converted = "80x60\n   ";
    const std::vector<Row> rows = {
        { { "--format", "webp" }, "big.png", kOk + "big.png 400x300\n   big.webp 100x75\n", "big.webp", "webpload",
            { 100, 75 }, 3 },
        { { "--format", "jpeg", "--quality", "40" }, "big.png", kOk + "big.png 400x300\n   big.jpg 100x75\n", "big.jpg",
            "jpegload", { 100, 75 }, 3 },
        { { "--format", "webp" }, "small.jpg",
            kOk + "small.jpg " + converted + "small.webp 80x60 - converted to WebP\n", "small.webp", "webpload",
            { 80, 60 }, 3 },
        { { "--format", "webp" }, "clear.png",
            kOk + "clear.png " + converted + "clear.webp 80x60 - converted to WebP\n", "clear.webp", "webpload",
            { 80, 60 }, 4 },
        { { "--format", "bmp" }, "clear.png", kOk + "clear.png " + converted + "clear.bmp 80x60 - converted to BMP\n",
            "clear.bmp", "magickload", { 80, 60 }, 3 },
        { { "--format", "tiff" }, "clear.png",
            kOk + "clear.png " + converted + "clear.tiff 80x60 - converted to TIFF\n", "clear.tiff", "tiffload",
            { 80, 60 }, 4 },
        { { "--format", "jpeg" }, "small.jpg", "-  small.jpg - already 80px wide, copied as-is\n", "small.jpg",
            "jpegload", { 80, 60 }, 3, true },
        { { "--quality", "30" }, "small.jpg", "-  small.jpg - already 80px wide, copied as-is\n", "small.jpg",
            "jpegload", { 80, 60 }, 3, true },
        { { "--quality", "50" }, "big.png", kOk + "big.png 400x300\n   big.png 100x75\n", "big.png", "pngload",
            { 100, 75 }, 3 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.options) + " " + row.source);
        TempDir out;
        std::vector<std::string> arguments = { "--width", "100", "--out", out.path().string() };
        arguments.insert(arguments.end(), row.options.begin(), row.options.end());
        arguments.push_back((in / row.source).string());
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, row.line);
        ASSERT_EQ(listFolder(out.path()), std::vector<std::string> { row.written });
        const LoadedOutput output = loaded(out / row.written);
        EXPECT_EQ(output.loader, row.loader);
        EXPECT_EQ(output.size, row.size);
        EXPECT_EQ(output.bands, row.bands);
        EXPECT_EQ(readFile(out / row.written) == readFile(in / row.source), row.sameBytes);
        if (row.source == "clear.png" && row.bands == 3) { // flattened onto white
            EXPECT_EQ(vips::VImage::new_from_file((out / row.written).c_str()).getpoint(0, 30),
                (std::vector<double> { 255, 255, 255 }));
        }
    }
}

TEST(CliFormat, QualityReachesTheEncoder)
{
    TempDir in;
    writeImage(in / "big.png", 400, 300);
    std::vector<std::size_t> sizes;
    for (const char* quality : { "20", "95" }) {
        TempDir out;
        const CliRun run = runCli({ "--width", "200", "--format", "webp", "--quality", quality, "--out",
            out.path().string(), (in / "big.png").string() });
        EXPECT_EQ(run.exitCode, 0) << run.err;
        sizes.push_back(readFile(out / "big.webp").size());
    }
    EXPECT_LT(sizes[0], sizes[1]);
}

// A budget that the default quality meets, one that needs a lower quality, one that not even
// quality 30 meets, and a copy over the budget, which is encoded at its own size instead.
TEST(CliFormat, MaxBytesKeepsEveryOutputWithinTheBudget)
{
    TempDir in;
    const vips::VImage noise = vips::VImage::gaussnoise(400, 300, vips::VImage::option()->set("sigma", 40.0));
    noise.bandjoin({ noise.rot180(), noise.fliphor() }).cast(VIPS_FORMAT_UCHAR).jpegsave((in / "big.jpg").c_str());
    noise.crop(0, 0, 80, 60).bandjoin({ noise.crop(1, 1, 80, 60), noise.crop(2, 2, 80, 60) })
        .cast(VIPS_FORMAT_UCHAR)
        .jpegsave((in / "small.jpg").c_str(), vips::VImage::option()->set("Q", 100));
    const auto sizeAt = [&](const char* quality) {
        TempDir out;
        runCli({ "--width", "200", "--quality", quality, "--out", out.path().string(), (in / "big.jpg").string() });
        return readFile(out / "big.jpg").size();
    };
    const std::size_t atDefault = sizeAt("92");
    const std::size_t atLowest = sizeAt("30");
    ASSERT_LT(atLowest * 2, atDefault);
    struct Row {
        std::string source;
        std::size_t maxBytes;
        std::string lineStart;  // then " at quality Q" and a line break, or the failure's numbers
        int lowest, highest;    // the quality Q
    };
    const std::vector<Row> rows = {
        { "big.jpg", atDefault, kOk + "big.jpg 400x300\n   big.jpg 200x150", 92, 92 },
        { "big.jpg", (atDefault + atLowest) / 2, kOk + "big.jpg 400x300\n   big.jpg 200x150", 31, 91 },
        { "big.jpg", atLowest - 1, "\u2717  big.jpg - does not fit in ", 30, 30 },
        { "small.jpg", readFile(in / "small.jpg").size() - 1, kOk + "small.jpg 80x60\n   small.jpg 80x60", 30, 92 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.source + " in " + std::to_string(row.maxBytes));
        TempDir out;
        const CliRun run = runCli({ "--width", "200", "--max-bytes", std::to_string(row.maxBytes), "--out",
            out.path().string(), (in / row.source).string() });
        ASSERT_EQ(run.out.substr(0, row.lineStart.size()), row.lineStart);
        const std::size_t at = run.out.rfind(" at quality ");
        ASSERT_NE(at, std::string::npos) << run.out;
        const int quality = std::stoi(run.out.substr(at + 12));
        EXPECT_GE(quality, row.lowest);
        EXPECT_LE(quality, row.highest);
        if (row.lowest == 30 && row.highest == 30) {
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(listFolder(out.path()), std::vector<std::string> {});
            continue;
        }
        EXPECT_EQ(run.exitCode, 0) << run.err;
        ASSERT_EQ(listFolder(out.path()), std::vector<std::string> { row.source });
        EXPECT_LE(readFile(out / row.source).size(), row.maxBytes);
        EXPECT_EQ(loaded(out / row.source).loader, "jpegload");
    }
}

TEST(CliFormat, UsageErrorsSayWhatIsWrong)
{
    struct Row {
        std::vector<std::string> options;
        std::string error;
    };
    const std::vector<Row> rows = {
        { { "--format", "jpg" },
            "voveriz-cli: --format takes jpeg, png, webp, avif, heic, jxl, tiff, gif or bmp, not 'jpg'\n" },
        { { "--format", "webp", "--format", "png" }, "voveriz-cli: --format given more than once\n" },
        { { "--quality", "0" }, "voveriz-cli: --quality needs a whole number from 1 to 100, not '0'\n" },
        { { "--quality", "101" }, "voveriz-cli: --quality needs a whole number from 1 to 100, not '101'\n" },
        { { "--quality=high" }, "voveriz-cli: --quality needs a whole number from 1 to 100, not 'high'\n" },
        { { "--format", "png", "--quality", "80" },
            "voveriz-cli: --quality is for jpeg, webp, avif, heic and jxl; png is lossless\n" },
        { { "--max-bytes", "500 kB" },
            "voveriz-cli: --max-bytes needs a size such as 500000, 500k, 2M or 512Ki, not '500 kB'\n" },
        { { "--format", "gif", "--max-bytes", "2M" },
            "voveriz-cli: --max-bytes is for jpeg, webp, avif, heic and jxl; gif is lossless\n" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.options));
        std::vector<std::string> arguments = { "--width", "100", "--out", "o" };
        arguments.insert(arguments.end(), row.options.begin(), row.options.end());
        arguments.push_back("a.jpg");
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), row.error);
    }
}

} // namespace
