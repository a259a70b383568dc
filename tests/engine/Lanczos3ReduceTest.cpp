#include "engine/resample/Lanczos3Reduce.h"
#include "engine/resample/ReduceKernels.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>
#include <vips/vector.h>
#include <vips/vips8>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace voveriz {
namespace {

using vips::VImage;

// Noise over one half, blocks of 0 and 255 with hard edges over the other, bands out of step:
// the Lanczos lobes overshoot both ends of 0..255 at every edge, the image's own edges included.
VImage testImage(int width, int height, int bands)
{
    std::vector<std::uint8_t> pixels((std::size_t)width * height * bands);
    std::mt19937 random(width * 7919 + height * 31 + bands);
    std::size_t i = 0;
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            for (int b = 0; b < bands; b++) {
                const bool noise = (2 * x / width + 2 * y / height) % 2 == 0;
                pixels[i++] = noise ? (std::uint8_t)random() : (((x + b) / 3 + y / 2) % 2 ? 255 : 0);
            }
        }
    }
    VipsImage* image =
        vips_image_new_from_memory_copy(pixels.data(), pixels.size(), width, height, bands, VIPS_FORMAT_UCHAR);
    if (!image) throw vips::VError();
    return VImage(image);
}

VImage libvipsReduce(const VImage& in, double hshrink, double vshrink)
{
    const auto options = [] { return VImage::option()->set("kernel", VIPS_KERNEL_LANCZOS3)->set("gap", 2.0); };
    return in.reducev(vshrink, options()).reduceh(hshrink, options());
}

// Where two images first differ, or success when they have the same size, header and bytes.
::testing::AssertionResult sameImage(const VImage& ours, const VImage& theirs)
{
    if (ours.width() != theirs.width() || ours.height() != theirs.height() || ours.bands() != theirs.bands()) {
        return ::testing::AssertionFailure() << ours.width() << "x" << ours.height() << "x" << ours.bands()
                                             << " where libvips has " << theirs.width() << "x"
                                             << theirs.height() << "x" << theirs.bands();
    }
    if (ours.format() != theirs.format() || ours.interpretation() != theirs.interpretation() ||
        ours.xres() != theirs.xres() || ours.yres() != theirs.yres()) {
        return ::testing::AssertionFailure() << "the header differs from libvips's";
    }
    std::size_t size = 0;
    std::size_t theirSize = 0;
    auto* a = static_cast<std::uint8_t*>(ours.write_to_memory(&size));
    auto* b = static_cast<std::uint8_t*>(theirs.write_to_memory(&theirSize));
    std::size_t differ = 0;
    std::size_t first = 0;
    for (std::size_t i = size; i-- > 0;) {
        if (a[i] != b[i]) {
            differ++;
            first = i;
        }
    }
    auto result = ::testing::AssertionSuccess();
    if (differ > 0) {
        const std::size_t pixel = first / ours.bands();
        result = ::testing::AssertionFailure()
                 << differ << " bytes differ, the first at x " << pixel % ours.width() << ", y "
                 << pixel / ours.width() << ", band " << first % ours.bands() << ": " << int(a[first])
                 << " where libvips has " << int(b[first]);
    }
    g_free(a);
    g_free(b);
    return result;
}

struct Reduction {
    const char* what;
    int width, height;  // the input
    int toWidth, toHeight;  // shrinks width / toWidth and height / toHeight
};

// Sizes and factors on either side of libvips's box average (it comes in when the factor is 4 or
// more), with the factors a thumbnail meets (4000 to 1080, 5120 to 1080, 3000 to 810).
const Reduction kReductions[] = {
    {"4000 to 1080 and 300 to 81: 23 taps, no box", 4000, 300, 1080, 81},
    {"5120 to 1080 and 288 to 61: a box of 2, then 2.37", 5120, 288, 1080, 61},
    {"3000 to 810 high", 300, 3000, 81, 810},
    {"just above 1", 1001, 1000, 1000, 999},
    {"exactly 2", 640, 480, 320, 240},
    {"2.37", 711, 533, 300, 225},
    {"4.5: a box of 2, then 2.25", 900, 451, 200, 100},
    {"6.5: a box of 3, then 2.17", 650, 390, 100, 60},
    {"9: a box of 4, then 2.25", 1800, 909, 200, 101},
    {"10.01: a box of 5, the last box past the edge", 1001, 61, 100, 6},
    {"odd sizes, exactly 3", 333, 777, 111, 259},
    {"to one line", 300, 7, 100, 1},
    {"to one column", 7, 300, 1, 100},
    {"width only", 500, 400, 123, 400},
    {"height only", 500, 400, 500, 97},
    // Here a position lands within rounding of a phase boundary often enough that libvips itself
    // gives other bytes for other region heights: regions must start where libvips's start.
    {"1.40288 high", 40, 4579, 40, 3264},
    {"1.40288 wide, in the small tiles that a box of 2 high brings", 4579, 45, 3264, 10},
    {"1.40288 high, read a line at a time by a box of 2 wide", 90, 4579, 20, 3264},
};

double factor(int from, int to)
{
    return (double)from / to;
}

class Lanczos3ReduceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The bytes libvips gives are those of its vector code, which the program keeps on.
        if (!vips_vector_isenabled()) GTEST_SKIP() << "libvips's vector code is off";
    }

    // ours(input) against theirs(input) for every reduction and band count; `input` makes the
    // source, so that each side gets its own (a sequential source can be read only once).
    static void compareAll(const std::function<VImage(const VImage&)>& source,
                           const std::function<VImage(const VImage&)>& finish = [](const VImage& image) {
                               return image;
                           })
    {
        for (const Reduction& r : kReductions) {
            const double h = factor(r.width, r.toWidth);
            const double v = factor(r.height, r.toHeight);
            for (int bands = 1; bands <= 4; bands++) {
                const VImage image = testImage(r.width, r.height, bands);
                const VImage ours = finish(lanczos3Reduce(source(image), h, v));
                const VImage theirs = finish(libvipsReduce(source(image), h, v));
                EXPECT_EQ(ours.width(), r.toWidth) << r.what;
                EXPECT_TRUE(sameImage(ours, theirs)) << r.what << ", " << bands << " bands";
            }
        }
    }
};

TEST_F(Lanczos3ReduceTest, equalsLibvipsOnEveryPixel)
{
    compareAll([](const VImage& image) { return image; });
}

// A sequential source puts libvips's line caches in the chain and changes the regions each step is
// asked for; small tiles after the reduce ask for regions that start inside the image.
TEST_F(Lanczos3ReduceTest, equalsLibvipsRegionByRegion)
{
    compareAll([](const VImage& image) {
        VipsBlob* png = image.pngsave_buffer(VImage::option()->set("compression", 1));
        VImage streamed = VImage::pngload_buffer(png, VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL));
        vips_area_unref(VIPS_AREA(png));
        return streamed;
    });
    compareAll([](const VImage& image) { return image; },
               [](const VImage& image) {
                   return image.tilecache(
                       VImage::option()->set("tile_width", 48)->set("tile_height", 20)->set("max_tiles", -1));
               });
}

// The same bytes from every instruction set, down to plain code that runs on any x86-64.
TEST_F(Lanczos3ReduceTest, everyInstructionSetGivesTheSameBytes)
{
    struct RestoreTargets {
        ~RestoreTargets() { hwy::SetSupportedTargetsForTest(0); }
    } restore;
    const std::vector<std::int64_t> targets = hwy::SupportedAndGeneratedTargets();
    std::vector<VImage> best;
    const char* bestTarget = resample::reduceKernelTarget();
    for (int bands = 1; bands <= 4; bands++) {
        for (const Reduction& r : kReductions) {
            best.push_back(lanczos3Reduce(testImage(r.width, r.height, bands), factor(r.width, r.toWidth),
                                          factor(r.height, r.toHeight))
                               .copy_memory());
        }
    }
    // The baseline (plain code on x86-64) is what a CPU without SSSE3 runs: it must be built and checked.
    EXPECT_NE(std::find(targets.begin(), targets.end(), std::int64_t{HWY_STATIC_TARGET}), targets.end());
    EXPECT_GE(targets.size(), 2u) << "no instruction set beside plain code";
    for (const std::int64_t target : targets) {
        hwy::SetSupportedTargetsForTest(target);
        ASSERT_STREQ(resample::reduceKernelTarget(), hwy::TargetName(target));
        std::size_t i = 0;
        for (int bands = 1; bands <= 4; bands++) {
            for (const Reduction& r : kReductions) {
                const VImage image = lanczos3Reduce(testImage(r.width, r.height, bands), factor(r.width, r.toWidth),
                                                    factor(r.height, r.toHeight));
                EXPECT_TRUE(sameImage(image, best[i++]))
                    << r.what << ", " << bands << " bands: " << hwy::TargetName(target) << " against " << bestTarget;
            }
        }
    }
}

TEST_F(Lanczos3ReduceTest, takesUncodedEightBitImagesOfOneToFourBands)
{
    const VImage rgb = testImage(8, 8, 3);
    EXPECT_TRUE(lanczos3ReduceApplies(rgb));
    EXPECT_TRUE(lanczos3ReduceApplies(testImage(8, 8, 1)));
    EXPECT_FALSE(lanczos3ReduceApplies(testImage(8, 8, 4).bandjoin(testImage(8, 8, 1))));
    EXPECT_FALSE(lanczos3ReduceApplies(rgb.cast(VIPS_FORMAT_USHORT)));
    EXPECT_FALSE(lanczos3ReduceApplies(rgb.cast(VIPS_FORMAT_FLOAT)));
    EXPECT_FALSE(lanczos3ReduceApplies(rgb.colourspace(VIPS_INTERPRETATION_LAB).Lab2LabQ()));

    // Refused where libvips refuses: a factor below 1, an image shrunk to nothing, a wrong format.
    EXPECT_THROW(lanczos3Reduce(rgb, 0.5, 1.0), vips::VError);
    EXPECT_THROW(lanczos3Reduce(rgb, 1.0, 17.0), vips::VError);
    EXPECT_THROW(lanczos3Reduce(rgb.cast(VIPS_FORMAT_USHORT), 2.0, 2.0), vips::VError);
    vips_error_clear();
}

}  // namespace
}  // namespace voveriz
