// --format and --quality: which format, name, size and line each output gets, what is copied byte
// for byte, and the usage errors. Outputs are read back by libvips.
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
