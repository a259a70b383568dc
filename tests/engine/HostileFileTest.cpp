// Files made to cost: huge declared sizes, thousands of frames, hundreds of pages, truncation, a file
// replaced while it is read. Each ends with its line, quickly and in little memory.
#include "engine/source/DecodeBudget.h"

#include "EngineTestSupport.h"
#include "HostileBytes.h"

#include <atomic>
#include <cstdio>
#include <thread>

#include <unistd.h>

namespace voveriz::testing {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using vips::VImage;

TEST(DecodeBudget, BoundsOneFrameAndAllFramesTogether)
{
    struct Case {
        std::int64_t width, height, frames;
        bool fits;
    };
    const Case cases[] = {
        {14204, 10652, 1, true},                   // a 151-megapixel camera
        {20000, 12500, 1, true},                   // exactly one frame's budget
        {20000, 12501, 1, false},
        {7000, 7000, 1, true},
        {50000, 50000, 1, false},
        {10'000'000, 10'000'000, 1, false},        // no overflow at libvips's largest sides
        {1000, 1000, 1000, true},                  // exactly the budget of all frames
        {1000, 1000, 1001, false},
        {2, 2, 10'000, true},
        {2, 2, 10'001, false},                     // too many frames, however small
        {1, 1, 2'000'000'000, false},
        {0, 100, 1, false},
        {100, 100, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fitsDecodeBudget(c.width, c.height, c.frames), c.fits)
            << c.width << " x " << c.height << " x " << c.frames;
    }
    EXPECT_TRUE(fitsDecodeBudget(7000, 7000, 1, kMaxGifFramePixels));
    EXPECT_FALSE(fitsDecodeBudget(7000, 7200, 1, kMaxGifFramePixels));
}

// The encoded bytes of a small gradient, as format (".jpg", ".png", ...) with saver options.
std::string encoded(const std::string& format, vips::VOption* options = nullptr, int width = 64, int height = 48)
{
    void* data = nullptr;
    size_t size = 0;
    testing::gradientImage(width, height).write_to_buffer(format.c_str(), &data, &size, options);
    std::string bytes(static_cast<const char*>(data), size);
    g_free(data);
    return bytes;
}

// A JPEG whose frame header (SOF0 or SOF2) declares width x height; its data stays that of 64 x 48.
std::string jpegDeclaring(bool progressive, std::uint32_t width, std::uint32_t height)
{
    std::string bytes = encoded(".jpg", progressive ? VImage::option()->set("interlace", true) : nullptr);
    for (std::size_t at = 2; at + 9 < bytes.size();) {
        const auto marker = static_cast<unsigned char>(bytes[at + 1]);
        if (marker == 0xC0 || marker == 0xC2) {
            testing::putBigEndian(bytes, at + 5, height, 2);
            testing::putBigEndian(bytes, at + 7, width, 2);
            return bytes;
        }
        at += 2 + (static_cast<unsigned char>(bytes[at + 2]) << 8 | static_cast<unsigned char>(bytes[at + 3]));
    }
    ADD_FAILURE() << "no frame header in the JPEG";
    return bytes;
}

std::string pngDeclaring(std::uint32_t width, std::uint32_t height)
{
    std::string bytes = encoded(".png");
    testing::putBigEndian(bytes, 16, width);
    testing::putBigEndian(bytes, 20, height);
    testing::putBigEndian(bytes, 29, testing::crc32(bytes.substr(12, 17)));
    return bytes;
}

// Found by the fuzzer: a 24 x 16 GIF whose one frame, 25705 x 101 pixels, lies at y = 26624. The
// decoder grows the screen to hold it: 687 megapixels, 2.7 GB and half a minute to decode.
std::string gifWithAFrameFarOutsideItsScreen()
{
    static const unsigned char bytes[] = {
        0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x18, 0x00, 0x10, 0x00, 0xf0, 0x00, 0x00, 0xff, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x01, 0x00, 0x00, 0x01, 0x00, 0x21, 0xff, 0x0b, 0x49, 0x6d,
        0x61, 0x67, 0x65, 0x4d, 0x61, 0x67, 0x69, 0x63, 0x6b, 0x0d, 0x67, 0x61, 0x6d, 0x6d, 0x61, 0x3d,
        0x30, 0x2e, 0x34, 0x35, 0x34, 0x35, 0x35, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x68, 0x69, 0x64, 0x65,
        0x00, 0x00, 0x02, 0x1a, 0x84, 0x8f, 0xa9, 0xcb, 0xed, 0x0f, 0xa3, 0x9c, 0xb4, 0xda, 0x6b, 0x82,
        0xde, 0xbc, 0xfb, 0x0f, 0x86, 0xe2, 0x48, 0x96, 0xe6, 0x89, 0xa6, 0xea, 0xaa, 0x15, 0x00, 0x3b};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

// A GIF of 2 x 1 frames that loops for ever, written byte by byte (23 bytes a frame), 20 ms each:
// three white frames, four black, three white, and so on. One line a frame, so that scaling it to
// 1 x 1 is horizontal only: libvips scales an animation as one strip of frames, and where a frame is
// shrunk vertically its top and bottom lines take in its neighbours' (libvips issue 4014).
std::string gifOfFrames(int frames)
{
    std::string bytes("GIF89a\x02\x00\x01\x00\xf0\x00\x00\x00\x00\x00\xff\xff\xff", 19);
    bytes += std::string("\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (int i = 0; i < frames; ++i) {
        bytes += std::string("\x21\xf9\x04\x04\x02\x00\x00\x00", 8);  // 20 ms, keep the frame
        bytes += std::string("\x2c\x00\x00\x00\x00\x02\x00\x01\x00\x00", 10);
        // Two pixels of color 1 or 0, each after a clear code, so that every code is 3 bits.
        bytes += i % 7 < 3 ? std::string("\x02\x02\x0c\x53\x00", 5) : std::string("\x02\x02\x04\x51\x00", 5);
    }
    return bytes + "\x3b";
}

// What a viewer sees of an animation: each color it shows in turn (of its first pixel, with its
// alpha, frames that look the same being one) and for how long, and how often it loops.
struct Shown {
    std::vector<double> color;
    int milliseconds = 0;
};
struct Animation {
    std::vector<Shown> shown;
    int loop = 0;
    int frames = 0;
};

Animation animationOf(const fs::path& file)
{
    const VImage all = VImage::new_from_file(file.c_str(), VImage::option()->set("n", -1));
    Animation animation;
    animation.frames = all.get_int("n-pages");
    animation.loop = all.get_int("loop");
    const std::vector<int> delays = all.get_array_int("delay");
    const int pageHeight = all.height() / animation.frames;
    size_t size = 0;
    void* memory = all.write_to_memory(&size);
    const std::string pixels(static_cast<const char*>(memory), size);
    g_free(memory);
    const std::size_t pageBytes = size / animation.frames;
    std::string previous;
    for (int frame = 0; frame < animation.frames; ++frame) {
        const std::string page = pixels.substr(frame * pageBytes, pageBytes);
        const int delay = frame < static_cast<int>(delays.size()) ? delays[frame] : 0;
        if (frame > 0 && page == previous) {
            animation.shown.back().milliseconds += delay;
        } else {
            std::vector<double> color = all.getpoint(0, frame * pageHeight);
            if (!all.has_alpha()) color.push_back(255);
            animation.shown.push_back({color, delay});
        }
        previous = page;
    }
    return animation;
}

// Found by the fuzzer: GIFs of 60 and 255 bytes whose frames grow the screen to 186 and 201
// megapixels, within the budget of other formats, but 10 s and 800 MB each to decode.
std::string gifGrownTo11707x15917()
{
    static const unsigned char bytes[] = {
        0x47, 0x49, 0x46, 0x38, 0x39, 0x18, 0x00, 0x00, 0x10, 0x61, 0xf0, 0x00, 0x00, 0x0e, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x21, 0xf9, 0x0d, 0x67, 0x61, 0x6f, 0x69, 0x61, 0x3d, 0x30, 0x2e, 0x34, 0x35,
        0x34, 0x35, 0x35, 0x00, 0x2c, 0x00, 0x2d, 0x2d, 0x3e, 0xbb, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0xbb, 0x00, 0x6e, 0x20, 0x69, 0x6d, 0x73};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

std::string gifGrownTo6144x32784()
{
    static const unsigned char bytes[] = {
        0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x18, 0x00, 0x10, 0x00, 0xf0, 0x00, 0x00, 0x37, 0x34, 0x32,
        0x35, 0x35, 0x00, 0x2c, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x10, 0x80, 0x00, 0x02, 0x1a, 0x84,
        0x8f, 0xa9, 0xcb, 0xed, 0x0f, 0xa3, 0x9c, 0xb4, 0xda, 0x38, 0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10,
        0x4a, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x69, 0x87, 0x04, 0x00, 0x01, 0x00,
        0x00, 0x00, 0x66, 0x00, 0x00, 0x00, 0x00, 0x05, 0x04, 0x06, 0x06, 0x05, 0x06, 0x07, 0x07, 0x06,
        0x08, 0x0a, 0x10, 0x0a, 0x0a, 0x10, 0x17, 0x14, 0x18, 0x0a, 0x0a, 0x13, 0x28, 0x1a, 0x16, 0x1a,
        0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28,
        0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28,
        0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0x28, 0xff, 0xc0, 0x00, 0x11, 0x08,
        0x10, 0x10, 0x00, 0x1a, 0x03, 0x01, 0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01, 0xff, 0xc4,
        0x00, 0x16, 0x00, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x2d, 0x2d, 0x3e, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x16, 0x62, 0xff, 0xda, 0x00, 0x0c, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03,
        0x11, 0x00, 0x3f, 0x00, 0xca, 0xec, 0xd2, 0xcd, 0x4f, 0x59, 0xa5, 0x9a, 0xb0, 0x44, 0x92, 0x6b,
        0x82, 0xde, 0xbc, 0xfb, 0x0f, 0xf5, 0xce, 0x8a, 0x1b, 0x34, 0x4f, 0x59, 0x86, 0xa0, 0x89, 0x21,
        0xe2, 0x48, 0x96, 0xe6, 0x89, 0xa6, 0xea, 0xce, 0x8f, 0xff, 0xd9, 0xaa, 0x55, 0x00, 0x3b};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

class HostileFile : public EngineTest {};

// Found by the fuzzer: a 56-byte GIF of 58880 x 6, written as a BMP 39253 pixels wide. The BMP is
// whole, and written whatever ImageMagick's policy says; only that policy (no side over 16384 in
// Debian 12's, over 32000 in Debian 13's) keeps ImageMagick from reading it back.
TEST_F(HostileFile, AVeryWideImageIsWrittenAsAWholeBmp)
{
    static const unsigned char bytes[] = {
        0x47, 0x49, 0x46, 0x38, 0x39, 0x18, 0x00, 0x00, 0x10, 0x61, 0xf0, 0x00, 0x00, 0xff, 0x00, 0x00,
        0x00, 0xf4, 0x00, 0x21, 0xf9, 0x0d, 0x67, 0x61, 0x6f, 0x69, 0x61, 0x3d, 0x30, 0x2e, 0x34, 0x35,
        0x34, 0x35, 0x35, 0x00, 0x2c, 0x00, 0xbb, 0x00, 0x00, 0x00, 0x2b, 0x06, 0x00, 0x00, 0x00, 0x00,
        0x00, 0xbb, 0x20, 0x69, 0x6d};
    writeFile(in / "wide.bmp", std::string(reinterpret_cast<const char*>(bytes), sizeof bytes));
    EXPECT_EQ(run("wide.bmp", 4, Dimension::Height).message(), "wide.bmp 58880x6\n   wide.bmp 39253x4");
    const std::string written = readFile(out / "wide.bmp");
    ASSERT_GT(written.size(), 26u);
    EXPECT_EQ(written.substr(0, 2), "BM");
    auto field = [&](std::size_t at) {
        return static_cast<std::uint8_t>(written[at]) | static_cast<std::uint8_t>(written[at + 1]) << 8
               | static_cast<std::uint8_t>(written[at + 2]) << 16;
    };
    EXPECT_EQ(field(18), 39253);
    EXPECT_EQ(field(22), 4);
    EXPECT_EQ(field(2), static_cast<int>(written.size()));  // the size the header gives is the whole file
}

TEST_F(HostileFile, HugeDeclaredSizesAreRefusedBeforeAnythingIsDecoded)
{
    const struct {
        const char* name;
        std::string bytes;
        std::int64_t width, height;
    } cases[] = {
        {"huge.jpg", jpegDeclaring(false, 50000, 50000), 50000, 50000},
        {"huge-progressive.jpg", jpegDeclaring(true, 50000, 50000), 50000, 50000},  // was 90 s and 7 GB
        {"huge.png", pngDeclaring(50000, 50000), 50000, 50000},
        {"frame-outside.gif", gifWithAFrameFarOutsideItsScreen(), 25705, 26725},
        {"frame-outside.jpg", gifWithAFrameFarOutsideItsScreen(), 25705, 26725},
        {"grown.gif", gifGrownTo11707x15917(), 11707, 15917},
        {"grown.jpg", gifGrownTo6144x32784(), 6144, 32784},
    };
    bool measured = true;
    for (const auto& c : cases) {
        writeFile(in / c.name, c.bytes);
        const std::optional<long> grown = testing::ownPeakGrowthKiB([&] {
            for (const Dimension dimension : {Dimension::Width, Dimension::Height}) {
                const ResizeResult result = run(c.name, 100, dimension);
                EXPECT_EQ(result.outcome(), Outcome::Failed) << c.name;
                EXPECT_EQ(result.message(), std::string(c.name) + " - failed to create resized image");
            }
        });
        measured = measured && grown;
        if (grown) {
            EXPECT_LT(*grown, 200 * 1024) << c.name << ": gigapixels must never be decoded";
        }
    }
    EXPECT_EQ(listFolder(out.path()), Names{});
    // Within the target nothing is decoded: the file is copied as it is.
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.name, c.width).message(), std::string(c.name) + " - already " + std::to_string(c.width)
                                                       + "px wide, copied as-is");
    }
    EXPECT_EQ(listFolder(out.path()).size(), std::size(cases));
    if (!measured) GTEST_SKIP() << testing::kPeakNotMeasured;
}

// Under AddressSanitizer a long GIF is read a hundred times slower (the decoder grows its table of
// frames one realloc at a time, and the sanitizer's realloc always copies), so that build uses fewer.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kLongGifFrames = 400;
#else
constexpr int kLongGifFrames = 3000;
#endif

// Every frame is kept, as a viewer sees it: the same colors in turn, each as long, looping as
// often. libvips's GIF writer may merge identical frames that follow each other into one of their
// summed delay (with cgif 0.4 and later), so the file has every frame or one for each run of them.
TEST_F(HostileFile, AGifOfThousandsOfFramesStaysAnimated)
{
    writeFile(in / "long.gif", gifOfFrames(kLongGifFrames));
    const Animation source = animationOf(in / "long.gif");
    ASSERT_EQ(source.frames, kLongGifFrames);
    ASSERT_GT(source.shown.size(), 2u * (kLongGifFrames / 7));
    EXPECT_EQ(source.shown[0].color, (std::vector<double>{255, 255, 255, 255}));
    EXPECT_EQ(source.shown[0].milliseconds, 60);
    EXPECT_EQ(source.shown[1].color, (std::vector<double>{0, 0, 0, 255}));
    EXPECT_EQ(source.shown[1].milliseconds, 80);
    EXPECT_EQ(run("long.gif", 1).message(), "long.gif 2x1\n   long.gif 1x1");
    const Animation written = animationOf(out / "long.gif");
    EXPECT_TRUE(written.frames == kLongGifFrames || written.frames == static_cast<int>(source.shown.size()))
        << written.frames;
    EXPECT_EQ(written.loop, source.loop);
    ASSERT_EQ(written.shown.size(), source.shown.size());
    for (std::size_t i = 0; i < source.shown.size(); ++i) {
        ASSERT_EQ(written.shown[i].milliseconds, source.shown[i].milliseconds) << "showing " << i;
        ASSERT_EQ(written.shown[i].color.size(), source.shown[i].color.size());
        for (std::size_t band = 0; band < source.shown[i].color.size(); ++band) {
            ASSERT_NEAR(written.shown[i].color[band], source.shown[i].color[band], 2) << "showing " << i;
        }
    }

    // The GIF decoder itself reads no more than about 4096 frames; as a JPEG only the first is decoded.
    writeFile(in / "endless.webp", gifOfFrames(5000));
    EXPECT_LE(VImage::new_from_file((in / "endless.webp").c_str()).get_int("n-pages"), kMaxFrames);
    EXPECT_EQ(run("endless.webp", 1).message(), "endless.webp 2x1\n   endless.jpg 1x1");
    EXPECT_EQ(listFolder(out.path()), (Names{"endless.jpg", "long.gif"}));
}

TEST_F(HostileFile, ATiffOfHundredsOfPagesIsReadAsItsFirstPage)
{
    VImage pages = testing::gradientImage(64, 48 * 300);
    pages.set("page-height", 48);
    pages.tiffsave((in / "pages.tiff").c_str(), VImage::option()->set("page_height", 48));
    ASSERT_EQ(VImage::new_from_file((in / "pages.tiff").c_str()).get_int("n-pages"), 300);
    EXPECT_EQ(run("pages.tiff", 32).message(), "pages.tiff 64x48\n   pages.tiff 32x24");
    const VImage written = VImage::new_from_file((out / "pages.tiff").c_str());
    EXPECT_EQ(written.get_typeof("n-pages") != 0 ? written.get_int("n-pages") : 1, 1);
}

// The promises that hold for any file, however broken: the name first, at most the one file of a
// copy or a write, no temporary file.
void expectAnOrderlyOutcome(const ResizeResult& result, const std::string& name, const fs::path& out)
{
    EXPECT_EQ(result.message().rfind(name, 0), 0u) << result.message();
    const Names made = listFolder(out);
    const bool wrote = result.outcome() == Outcome::Resized || result.outcome() == Outcome::Copied;
    EXPECT_EQ(made.size(), wrote ? 1u : 0u) << result.message();
    for (const std::string& entry : made) EXPECT_NE(entry[0], '.') << entry;
}

TEST_F(HostileFile, FilesCutShortAtAnyPointEndWithTheirLine)
{
    const struct {
        const char* name;
        std::string bytes;
    } whole[] = {
        {"progressive.jpg", encoded(".jpg", VImage::option()->set("interlace", true), 400, 300)},
        {"interlaced.png", encoded(".png", VImage::option()->set("interlace", true), 400, 300)},
        {"tiled.tif", encoded(".tif", VImage::option()->set("tile", true)->set("compression", VIPS_FOREIGN_TIFF_COMPRESSION_DEFLATE), 400, 300)},
        {"strips.tiff", encoded(".tif", nullptr, 400, 300)},
        {"photo.webp", encoded(".webp", nullptr, 400, 300)},
        {"frames.gif", encoded(".gif", nullptr, 400, 300)},
    };
    for (const auto& file : whole) {
        for (std::size_t length : {std::size_t{20}, file.bytes.size() / 4, file.bytes.size() / 2, file.bytes.size() - 1}) {
            writeFile(in / file.name, file.bytes.substr(0, length));
            for (const Dimension dimension : {Dimension::Width, Dimension::Height}) {
                testing::TempDir folder;
                expectAnOrderlyOutcome(runOn(in / file.name, 100, dimension, folder.path()), file.name, folder.path());
            }
        }
    }
}

TEST_F(HostileFile, AFileReplacedWhileItIsReadIsReadAsOneFile)
{
    // narrow.png (200 x 100) is copied at target 200, wide.png (400 x 100) is scaled. Another thread
    // keeps putting one or the other under the name photo.png.
    saveImage(testing::gradientImage(200, 100), in / "narrow.png", ".png");
    saveImage(testing::gradientImage(400, 100).flip(VIPS_DIRECTION_VERTICAL), in / "wide.png", ".png");
    const std::string narrow = readFile(in / "narrow.png");
    fs::copy_file(in / "narrow.png", in / "photo.png");
    std::atomic<bool> done{false};
    std::thread swapper([&] {
        for (int i = 0; !done; ++i) {
            const fs::path next = in / ".next.png";
            fs::copy_file(in / (i % 2 == 0 ? "wide.png" : "narrow.png"), next, fs::copy_options::overwrite_existing);
            fs::rename(next, in / "photo.png");
        }
    });
    int copies = 0, scaled = 0;
    // At least 100 rounds, and more (up to 1,000) until both files have been met.
    for (int round = 0; round < 1000 && (round < 100 || copies == 0 || scaled == 0); ++round) {
        testing::TempDir folder;
        const ResizeResult result = resizeImage(in / "photo.png", 200, Dimension::Width, folder.path());
        if (result.outcome() == Outcome::Copied) {
            ASSERT_EQ(result.message(), "photo.png - already 200px wide, copied as-is");
            ASSERT_TRUE(readFile(folder / "photo.png") == narrow) << "measured one file, copied another";
            ++copies;
        } else {
            ASSERT_EQ(result.message(), "photo.png 400x100\n   photo.png 200x50");
            ASSERT_EQ(imageSize(folder / "photo.png"), (PixelSize{200, 50}));
            ++scaled;
        }
    }
    done = true;
    swapper.join();
    EXPECT_GT(copies, 0);
    EXPECT_GT(scaled, 0);
}

TEST_F(HostileFile, AFileRewrittenInPlaceWhileItIsReadEndsWithItsLine)
{
    // The same file cut short and made whole again, over and over, while the engine reads it, as a
    // sync client or a camera import may do. Read through a mapping, a file that shrinks kills the
    // process (SIGBUS); read as the engine reads it, it only ends early.
    const struct {
        const char* name;
        const char* written;
        std::string bytes;
    } files[] = {
        {"baseline.jpg", "baseline.jpg", encoded(".jpg", nullptr, 800, 600)},
        {"progressive.jpg", "progressive.jpg", encoded(".jpg", VImage::option()->set("interlace", true), 800, 600)},
        {"photo.png", "photo.png", encoded(".png", nullptr, 800, 600)},
        {"photo.tif", "photo.tif", encoded(".tif", nullptr, 800, 600)},
        {"photo.webp", "photo.jpg", encoded(".webp", nullptr, 800, 600)},
        {"photo.gif", "photo.gif", encoded(".gif", nullptr, 800, 600)},
    };
    for (const auto& file : files) {
        const fs::path path = in / file.name;
        writeFile(path, file.bytes);
        std::atomic<bool> done{false};
        std::thread writer([&] {
            for (int i = 0; !done; ++i) {
                std::FILE* stream = std::fopen(path.c_str(), "r+b");
                if (!stream) continue;
                ::ftruncate(::fileno(stream), static_cast<off_t>(i % 2 == 0 ? file.bytes.size() / 3 : 0));
                if (i % 2 == 1) std::fwrite(file.bytes.data(), 1, file.bytes.size(), stream);
                std::fclose(stream);
            }
        });
        const std::string name = file.name;
        for (int round = 0; round < 40; ++round) {
            testing::TempDir folder;
            const ResizeResult result = resizeImage(path, 100, Dimension::Width, folder.path());
            expectAnOrderlyOutcome(result, name, folder.path());
            const std::string& line = result.message();
            EXPECT_TRUE(line == name + " 800x600\n   " + file.written + " 100x75" || line == name + " - not an image, skipped"
                        || line == name + " - failed to create resized image")
                << line;
        }
        done = true;
        writer.join();
    }
}

}  // namespace
}  // namespace voveriz::testing
