#include "engine/resample/Lanczos3Reduce.h"
#include "engine/resample/ReduceKernels.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>
#include <vips/vector.h>
#include <vips/vips8>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <numbers>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace voveriz {
namespace {

using vips::VImage;

// Noise over one half, blocks of 0 and 255 with hard edges over the other, bands out of step:
// the Lanczos lobes overshoot both ends of 0..255 at every edge, the image's own edges included.
std::vector<std::uint8_t> testPixels(int width, int height, int bands)
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
    return pixels;
}

VImage testImage(int width, int height, int bands)
{
    const std::vector<std::uint8_t> pixels = testPixels(width, height, bands);
    VipsImage* image =
        vips_image_new_from_memory_copy(pixels.data(), pixels.size(), width, height, bands, VIPS_FORMAT_UCHAR);
    if (!image) throw vips::VError();
    return VImage(image);
}

// libvips 8.14's Lanczos3 reduce with a gap of 2 and its vector code on, written out plainly from
// its rules one byte at a time, so that our reduce is checked the same on any libvips:
//   - per axis: out = (int)(in / shrink + 0.5); a box average first by b = floor(in / out / 2)
//     where b >= 2 ((sum + b / 2) / b over b lines or columns, ceil(in / b) of them, the last
//     repeating the edge), then Lanczos3 by shrink / b over 2 * rint(3 * shrink / b) + 1 taps;
//   - output i of a region that starts at output s sits at x = (s + 0.5) * shrink - 0.5 - offset,
//     plus shrink added once per output from s (offset = (1 + extra) / 2 - 1, extra = out * shrink
//     - in, both over b), its taps from (int)x - (ceil(taps / 2) - 1), edges repeated, its weights
//     those of phase (((int)(x * 128) & 127) + 1) >> 1 of 65, computed at phase / 64;
//   - vertically (first): weights in 6 bits summing to 64 (scaled by a factor bisected until
//     they do, the rest spread over the first ones), a 16-bit sum from 32 that adds each 16-bit
//     product with saturation, then >> 6 into 0..255;
//   - horizontally: weights (int)(w * 4096), a 32-bit sum, then (sum + 2048) >> 12 into 0..255.
class ReferenceAxis {
public:
    ReferenceAxis(int in, double shrink) : m_in(in), m_boxed(in), m_shrink(shrink)
    {
        m_out = (int)((double)in / shrink + 0.5);
        double extra = m_out * shrink - in;
        const int box = (int)std::floor((double)in / m_out / 2.0);
        if (box > 1) {
            m_box = box;
            m_boxed = (int)std::ceil((double)in / box);
            m_shrink /= box;
            extra /= box;
        }
        if (m_shrink == 1.0) return;
        m_taps = (int)(2 * std::rint(3 * m_shrink) + 1);
        m_margin = (int)std::ceil(m_taps / 2.0) - 1;
        m_offset = (1 + extra) / 2.0 - 1;
        for (int phase = 0; phase <= 64; phase++) {
            const std::vector<double> w = lanczos3((float)phase / 64);
            std::vector<int> w12(m_taps);
            for (int t = 0; t < m_taps; t++) w12[t] = (int)(w[t] * 4096);
            m_weights12.push_back(w12);
            m_weights6.push_back(sixBits(w));
        }
    }

    int out() const { return m_out; }

    // The box-averaged columns of one row, `at(i)` giving input column i.
    template <class At>
    std::vector<int> boxed(const At& at) const
    {
        std::vector<int> lines(m_boxed);
        for (int k = 0; k < m_boxed; k++) {
            int sum = 0;
            for (int j = 0; j < m_box; j++) sum += at(std::min(k * m_box + j, m_in - 1));
            lines[k] = (sum + m_box / 2) / m_box;
        }
        return lines;
    }

    // The first tap and the phase of every output, regionStart[i] being the first output of the
    // region that holds output i.
    struct Tap {
        int first;
        int phase;
    };
    std::vector<Tap> taps(const std::vector<int>& regionStart) const
    {
        std::vector<Tap> result(m_out);
        double x = 0;
        for (int i = 0; i < m_out; i++) {
            const int s = regionStart[i];
            if (i == s) {
                x = (s + 0.5) * m_shrink - 0.5 - m_offset;
            } else {
                x += m_shrink;
            }
            result[i] = {(int)x - m_margin, (((int)(x * 64 * 2) & 127) + 1) >> 1};
        }
        return result;
    }

    // Every boxed line of an image of `count` values a line, for the vertical pass.
    std::vector<std::vector<int>> boxedLines(const std::vector<int>& image, std::size_t count) const
    {
        std::vector<std::vector<int>> lines(m_boxed, std::vector<int>(count));
        for (int k = 0; k < m_boxed; k++) {
            for (int j = 0; j < m_box; j++) {
                const int* line = &image[std::min(k * m_box + j, m_in - 1) * count];
                for (std::size_t x = 0; x < count; x++) lines[k][x] += line[x];
            }
            for (int& v : lines[k]) v = (v + m_box / 2) / m_box;
        }
        return lines;
    }

    void vertical(const std::vector<std::vector<int>>& lines, Tap tap, int* out) const
    {
        const std::size_t count = lines[0].size();
        std::vector<int> sum(count, 32);
        for (int t = 0; t < m_taps; t++) {
            const std::vector<int>& line = lines[edge(tap.first + t)];
            const int weight = m_weights6[tap.phase][t];
            for (std::size_t x = 0; x < count; x++) {
                sum[x] = std::clamp(sum[x] + (std::int16_t)(std::uint16_t)(line[x] * weight), -32768, 32767);
            }
        }
        for (std::size_t x = 0; x < count; x++) out[x] = std::clamp(sum[x] >> 6, 0, 255);
    }

    int horizontal(const std::vector<int>& columns, Tap tap) const
    {
        int sum = 0;
        for (int t = 0; t < m_taps; t++) sum += columns[edge(tap.first + t)] * m_weights12[tap.phase][t];
        return std::clamp((sum + 2048) >> 12, 0, 255);
    }

    bool lanczos() const { return m_taps > 0; }
    int box() const { return m_box; }

private:
    int edge(int line) const { return std::clamp(line, 0, m_boxed - 1); }

    std::vector<double> lanczos3(double x) const
    {
        std::vector<double> w(m_taps);
        const double half = x + m_taps / 2.0 - 1;
        double sum = 0;
        for (int i = 0; i < m_taps; i++) {
            const double xp = (i - half) / m_shrink;
            constexpr double pi = std::numbers::pi;
            if (xp == 0.0) {
                w[i] = 1.0;
            } else if (xp < -3 || xp > 3) {
                w[i] = 0.0;
            } else {
                w[i] = 3.0 * std::sin(pi * xp) * std::sin(pi * xp / 3.0) / (pi * pi * xp * xp);
            }
            sum += w[i];
        }
        for (double& v : w) v /= sum;
        return w;
    }

    std::vector<int> sixBits(const std::vector<double>& w) const
    {
        const int n = m_taps;
        double total = 0;
        for (double v : w) total += v;
        const int target = (int)std::rint(total * 64);
        std::vector<int> fixed(n);
        double high = 64 + (n + 1) / 2;
        double low = 64 - (n + 1) / 2;
        int sum = 0;
        do {
            const double guess = (high + low) / 2.0;
            sum = 0;
            for (int i = 0; i < n; i++) sum += fixed[i] = (int)std::rint(w[i] * guess);
            if (sum == target) break;
            (sum < target ? low : high) = guess;
        } while (high - low > 0.01);
        for (int i = 0; i < n; i++) fixed[i] += (target - sum) / n;
        const int rest = (target - sum) % n;
        for (int i = 0; i < std::abs(rest); i++) fixed[i] += rest > 0 ? 1 : -1;
        return fixed;
    }

    int m_in;
    int m_out = 0;
    int m_box = 1;
    int m_boxed;
    double m_shrink;
    double m_offset = 0;
    int m_taps = 0;
    int m_margin = 0;
    std::vector<std::vector<int>> m_weights12;
    std::vector<std::vector<int>> m_weights6;
};

// How our reduce's output is read: in regions of tileWidth x tileHeight from the top left (the
// whole image when they are as large), from a source in memory or a sequential one.
struct Reading {
    const char* what;
    int tileWidth, tileHeight;
    bool sequential;
};

const Reading kReadings[] = {
    {"in memory, whole", 1 << 20, 1 << 20, false},
    {"in memory, in tiles of 48x20", 48, 20, false},
    {"in memory, in strips 7 lines high", 1 << 20, 7, false},
    {"a sequential PNG, whole", 1 << 20, 1 << 20, true},
};

// Where the region holding each output starts when a pass is asked for regions of `tile` outputs.
std::vector<int> regionStarts(int count, int tile)
{
    std::vector<int> starts(count);
    for (int i = 0; i < count; i++) starts[i] = i / tile * tile;
    return starts;
}

// The reference's bytes for pixels of width x height x bands reduced by hshrink and vshrink, read so.
std::vector<std::uint8_t> referenceReduce(const std::vector<std::uint8_t>& pixels, int width, int height, int bands,
                                          double hshrink, double vshrink, const Reading& reading)
{
    std::vector<int> image(pixels.begin(), pixels.end());
    int outHeight = height;
    const bool horizontalPass = hshrink != 1.0;
    const bool verticalPass = vshrink != 1.0;
    if (verticalPass) {
        const ReferenceAxis axis(height, vshrink);
        // How libvips 8.14's passes ask the vertical one for regions: through the line cache of
        // 10 lines that reducev puts after itself on a sequential source; else shrinkh one line at
        // a time, reduceh the lines of the region it is asked for, and so the reader's tiles.
        const ReferenceAxis across(width, hshrink);
        const int asked = reading.sequential                 ? 10
                          : horizontalPass && across.box() > 1 ? 1
                                                               : reading.tileHeight;
        const auto taps = axis.taps(regionStarts(axis.out(), asked));
        outHeight = axis.out();
        const std::size_t count = (std::size_t)width * bands;
        const std::vector<std::vector<int>> lines = axis.boxedLines(image, count);
        std::vector<int> reduced(count * outHeight);
        for (int y = 0; y < outHeight; y++) {
            if (axis.lanczos()) {
                axis.vertical(lines, taps[y], &reduced[y * count]);
            } else {
                std::copy(lines[y].begin(), lines[y].end(), &reduced[y * count]);
            }
        }
        image = std::move(reduced);
    }
    int outWidth = width;
    if (horizontalPass) {
        const ReferenceAxis axis(width, hshrink);
        const auto taps = axis.taps(regionStarts(axis.out(), reading.tileWidth));
        outWidth = axis.out();
        std::vector<int> reduced((std::size_t)outWidth * outHeight * bands);
        for (int y = 0; y < outHeight; y++) {
            for (int b = 0; b < bands; b++) {
                const std::vector<int> columns =
                    axis.boxed([&](int x) { return image[((std::size_t)y * width + x) * bands + b]; });
                for (int x = 0; x < outWidth; x++) {
                    reduced[((std::size_t)y * outWidth + x) * bands + b] =
                        axis.lanczos() ? axis.horizontal(columns, taps[x]) : columns[x];
                }
            }
        }
        image = std::move(reduced);
    }
    return std::vector<std::uint8_t>(image.begin(), image.end());
}

// An image's bytes as read in regions of tileWidth x tileHeight, row of tiles by row of tiles.
std::vector<std::uint8_t> readInRegions(const VImage& image, int tileWidth, int tileHeight)
{
    const int width = image.width();
    const int height = image.height();
    const int bands = image.bands();
    std::vector<std::uint8_t> bytes((std::size_t)width * height * bands);
    VipsRegion* region = vips_region_new(image.get_image());
    for (int top = 0; top < height; top += tileHeight) {
        for (int left = 0; left < width; left += tileWidth) {
            VipsRect rect{left, top, std::min(tileWidth, width - left), std::min(tileHeight, height - top)};
            if (vips_region_prepare(region, &rect)) {
                g_object_unref(region);
                throw vips::VError();
            }
            for (int y = rect.top; y < VIPS_RECT_BOTTOM(&rect); y++) {
                std::memcpy(&bytes[((std::size_t)y * width + left) * bands], VIPS_REGION_ADDR(region, left, y),
                            (std::size_t)rect.width * bands);
            }
        }
    }
    g_object_unref(region);
    return bytes;
}

// Where two byte arrays of images `width` wide first differ.
::testing::AssertionResult sameBytes(const std::vector<std::uint8_t>& ours, const std::vector<std::uint8_t>& reference,
                                     int width, int bands)
{
    if (ours.size() != reference.size()) {
        return ::testing::AssertionFailure() << ours.size() << " bytes where the reference has " << reference.size();
    }
    std::size_t differ = 0;
    std::size_t first = 0;
    for (std::size_t i = ours.size(); i-- > 0;) {
        if (ours[i] != reference[i]) {
            differ++;
            first = i;
        }
    }
    if (differ == 0) return ::testing::AssertionSuccess();
    const std::size_t pixel = first / bands;
    return ::testing::AssertionFailure() << differ << " bytes differ, the first at x " << pixel % width << ", y "
                                         << pixel / width << ", band " << first % bands << ": " << int(ours[first])
                                         << " where the reference has " << int(reference[first]);
}

VImage sequentialPng(const VImage& image)
{
    VipsBlob* png = image.pngsave_buffer(VImage::option()->set("compression", 1));
    VImage streamed = VImage::pngload_buffer(png, VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL));
    vips_area_unref(VIPS_AREA(png));
    return streamed;
}

VImage libvipsReduce(const VImage& in, double hshrink, double vshrink)
{
    const auto options = [] { return VImage::option()->set("kernel", VIPS_KERNEL_LANCZOS3)->set("gap", 2.0); };
    return in.reducev(vshrink, options()).reduceh(hshrink, options());
}

// Success when two images have the same size and header.
::testing::AssertionResult sameHeader(const VImage& ours, const VImage& theirs)
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
    return ::testing::AssertionSuccess();
}

// Where two images first differ, or success when they have the same size, header and bytes.
::testing::AssertionResult sameImage(const VImage& ours, const VImage& theirs)
{
    if (auto header = sameHeader(ours, theirs); !header) return header;
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
    // ours(input) against theirs(input) for every reduction and band count; `input` makes the
    // source, so that each side gets its own (a sequential source can be read only once). Where the
    // running libvips's reduce has other arithmetic than ours (libvips 8.16's vertical pass keeps
    // 12-bit weights), the sizes and headers must still be libvips's, and so must the bytes of the
    // reductions with no vertical pass, whose arithmetic 8.16 kept.
    static void compareAll(const std::function<VImage(const VImage&)>& source,
                           const std::function<VImage(const VImage&)>& finish = [](const VImage& image) {
                               return image;
                           })
    {
        const bool sameArithmetic = testing::libvipsReducesAsOurs();
        // The two known answers: libvips 8.14's reduce is ours; later ones may differ.
        EXPECT_TRUE(sameArithmetic || vips_version(0) > 8 || vips_version(1) > 14)
            << "libvips " << testing::libvipsVersion();
        static bool told = false;
        if (!sameArithmetic && !told) {
            told = true;
            std::printf("libvips %s reduces with other arithmetic than ours (libvips 8.14's): compared with it are "
                        "sizes and headers, and the bytes of the reductions without a vertical pass; our bytes "
                        "are checked against the reference of 8.14's rules\n",
                        testing::libvipsVersion().c_str());
        }
        for (const Reduction& r : kReductions) {
            const double h = factor(r.width, r.toWidth);
            const double v = factor(r.height, r.toHeight);
            for (int bands = 1; bands <= 4; bands++) {
                const VImage image = testImage(r.width, r.height, bands);
                const VImage ours = finish(lanczos3Reduce(source(image), h, v));
                const VImage theirs = finish(libvipsReduce(source(image), h, v));
                EXPECT_EQ(ours.width(), r.toWidth) << r.what;
                if (sameArithmetic || v == 1.0) {
                    EXPECT_TRUE(sameImage(ours, theirs)) << r.what << ", " << bands << " bands";
                } else {
                    EXPECT_TRUE(sameHeader(ours, theirs)) << r.what << ", " << bands << " bands";
                }
            }
        }
    }
};

// The reference's bytes for kReductions[reduction] on `bands` bands read as kReadings[reading],
// made once.
const std::vector<std::uint8_t>& referenceFor(std::size_t reduction, int bands, std::size_t reading)
{
    static std::map<std::tuple<std::size_t, int, std::size_t>, std::vector<std::uint8_t>> made;
    const auto key = std::make_tuple(reduction, bands, reading);
    if (!made.contains(key)) {
        const Reduction& r = kReductions[reduction];
        made[key] = referenceReduce(testPixels(r.width, r.height, bands), r.width, r.height, bands,
                                    factor(r.width, r.toWidth), factor(r.height, r.toHeight), kReadings[reading]);
    }
    return made[key];
}

TEST_F(Lanczos3ReduceTest, equalsTheReferenceOfLibvips814sRulesOnEveryPixel)
{
    // Our reduce read region by region as each reading asks, against the reference read the same
    // way: every byte, on any libvips.
    for (std::size_t k = 0; k < std::size(kReadings); k++) {
        const Reading& reading = kReadings[k];
        for (std::size_t i = 0; i < std::size(kReductions); i++) {
            const Reduction& r = kReductions[i];
            for (int bands = 1; bands <= 4; bands++) {
                const VImage image = testImage(r.width, r.height, bands);
                const VImage ours = lanczos3Reduce(reading.sequential ? sequentialPng(image) : image,
                                                   factor(r.width, r.toWidth), factor(r.height, r.toHeight));
                ASSERT_EQ(ours.width(), r.toWidth) << r.what;
                ASSERT_EQ(ours.height(), r.toHeight) << r.what;
                EXPECT_TRUE(sameBytes(readInRegions(ours, reading.tileWidth, reading.tileHeight),
                                      referenceFor(i, bands, k), r.toWidth, bands))
                    << r.what << ", " << bands << " bands, " << reading.what;
            }
        }
    }
}

// Where positions land within rounding of a phase boundary, an output's bytes depend on where
// its region starts: the reference must tell the readings apart there, or the test above could
// not see regions that start elsewhere.
TEST_F(Lanczos3ReduceTest, theReferenceSeesWhereRegionsStart)
{
    const Reduction& r = kReductions[15];  // 1.40288 high
    ASSERT_EQ(r.height, 4579);
    const std::vector<std::uint8_t> pixels = testPixels(r.width, r.height, 1);
    const double v = factor(r.height, r.toHeight);
    EXPECT_NE(referenceReduce(pixels, r.width, r.height, 1, 1.0, v, kReadings[0]),
              referenceReduce(pixels, r.width, r.height, 1, 1.0, v, kReadings[2]));
}

TEST_F(Lanczos3ReduceTest, equalsLibvipsOnEveryPixel)
{
    // The bytes libvips gives are those of its vector code, which the program keeps on.
    if (!vips_vector_isenabled()) GTEST_SKIP() << "libvips's vector code is off";
    compareAll([](const VImage& image) { return image; });
}

// A sequential source puts libvips's line caches in the chain and changes the regions each step is
// asked for; small tiles after the reduce ask for regions that start inside the image.
TEST_F(Lanczos3ReduceTest, equalsLibvipsRegionByRegion)
{
    if (!vips_vector_isenabled()) GTEST_SKIP() << "libvips's vector code is off";
    compareAll(sequentialPng);
    compareAll([](const VImage& image) { return image; },
               [](const VImage& image) {
                   return image.tilecache(
                       VImage::option()->set("tile_width", 48)->set("tile_height", 20)->set("max_tiles", -1));
               });
}

// The same bytes from every instruction set, down to plain code that runs on any x86-64: each
// against the reference.
TEST_F(Lanczos3ReduceTest, everyInstructionSetGivesTheSameBytes)
{
    struct RestoreTargets {
        ~RestoreTargets() { hwy::SetSupportedTargetsForTest(0); }
    } restore;
    const std::vector<std::int64_t> targets = hwy::SupportedAndGeneratedTargets();
    // The baseline (plain code on x86-64) is what a CPU without SSSE3 runs: it must be built and checked.
    EXPECT_NE(std::find(targets.begin(), targets.end(), std::int64_t{HWY_STATIC_TARGET}), targets.end());
    EXPECT_GE(targets.size(), 2u) << "no instruction set beside plain code";
    for (const std::int64_t target : targets) {
        hwy::SetSupportedTargetsForTest(target);
        ASSERT_STREQ(resample::reduceKernelTarget(), hwy::TargetName(target));
        for (int bands = 1; bands <= 4; bands++) {
            for (std::size_t i = 0; i < std::size(kReductions); i++) {
                const Reduction& r = kReductions[i];
                const VImage image = lanczos3Reduce(testImage(r.width, r.height, bands), factor(r.width, r.toWidth),
                                                    factor(r.height, r.toHeight));
                EXPECT_TRUE(sameBytes(readInRegions(image, 1 << 20, 1 << 20), referenceFor(i, bands, 0), r.toWidth,
                                      bands))
                    << r.what << ", " << bands << " bands: " << hwy::TargetName(target);
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
