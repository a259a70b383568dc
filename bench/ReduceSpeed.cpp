// bench-reduce [RUNS [ours|libvips [WIDTH]]]
// The Lanczos3 reduce alone, on one thread, from an RGB image in memory to memory: ours
// (lanczos3Reduce) against libvips's reducev().reduceh(), for a 4000x3000 photo to 1080x810 and
// 5120x2880 to 1080x608 (libvips boxes that one by 2 first). The two run in turn RUNS times
// (default 15); printed are the medians and their ratio. With "ours" or "libvips" only that one
// runs, once a case (or only the case of that input WIDTH), and with "none" neither: for
// instruction counts under callgrind, the count with "none" taken from the others.
//
// bench-reduce psnr FILE...
// The quality of the two reduces instead: each photo (as 8-bit sRGB) to 1080 wide with each, and
// the PSNR (dB) of each against a float Lanczos3 reduce of the same photo, rounded to 8 bits: the
// photo cast to float, reducev then reduceh with no box pre-shrink and no fixed-point weights.
// Prints a line a photo and the means.
#include "engine/EngineRuntime.h"
#include "engine/resample/Lanczos3Reduce.h"
#include "engine/resample/ReduceKernels.h"

#include <vips/vips8>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using vips::VImage;

namespace {

struct Case {
    int width, height, toWidth, toHeight;
};

VImage photo(int width, int height)
{
    // Noise over a gradient: the reduce does the same work whatever the pixels, but keep it real.
    const VImage noise = VImage::gaussnoise(width, height, VImage::option()->set("sigma", 40.0));
    const VImage ramp = VImage::xyz(width, height)[0] * (255.0 / width);
    return (noise + ramp).bandjoin({noise * 0.5 + 128, ramp}).cast(VIPS_FORMAT_UCHAR).copy_memory();
}

double milliseconds(const VImage& image)
{
    const auto start = std::chrono::steady_clock::now();
    std::size_t size = 0;
    g_free(image.write_to_memory(&size));
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

VImage libvipsReduce(const VImage& in, double hshrink, double vshrink)
{
    const auto options = [] { return VImage::option()->set("kernel", VIPS_KERNEL_LANCZOS3)->set("gap", 2.0); };
    return in.reducev(vshrink, options()).reduceh(hshrink, options());
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double psnr(const VImage& a, const VImage& b)
{
    const VImage difference = a.cast(VIPS_FORMAT_FLOAT) - b.cast(VIPS_FORMAT_FLOAT);
    const double meanSquare = (difference * difference).avg();
    return meanSquare == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / meanSquare);
}

int comparePsnr(int count, char** files)
{
    double oursSum = 0;
    double theirsSum = 0;
    for (int i = 0; i < count; i++) {
        VImage in = VImage::new_from_file(files[i]).colourspace(VIPS_INTERPRETATION_sRGB);
        if (in.bands() > 3) in = in.extract_band(0, VImage::option()->set("n", 3));
        in = in.cast(VIPS_FORMAT_UCHAR).copy_memory();
        const int toWidth = 1080;
        const int toHeight = std::max(1, (int)std::lround((double)in.height() * toWidth / in.width()));
        const double h = (double)in.width() / toWidth;
        const double v = (double)in.height() / toHeight;
        const auto exact = [] { return VImage::option()->set("kernel", VIPS_KERNEL_LANCZOS3); };
        const VImage reference = in.cast(VIPS_FORMAT_FLOAT)
                                     .reducev(v, exact())
                                     .reduceh(h, exact())
                                     .rint()
                                     .cast(VIPS_FORMAT_UCHAR)
                                     .copy_memory();
        const double ours = psnr(voveriz::lanczos3Reduce(in, h, v), reference);
        const double theirs = psnr(libvipsReduce(in, h, v), reference);
        std::printf("%s %dx%d to %dx%d: ours %.2f dB, libvips %.2f dB\n", files[i], in.width(), in.height(),
                    reference.width(), reference.height(), ours, theirs);
        oursSum += ours;
        theirsSum += theirs;
    }
    std::printf("mean of %d: ours %.2f dB, libvips %.2f dB (libvips %s)\n", count, oursSum / count,
                theirsSum / count, vips_version_string());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    voveriz::EngineRuntime runtime(argv[0]);
    vips_concurrency_set(1);
    if (argc > 2 && std::strcmp(argv[1], "psnr") == 0) {
        try {
            return comparePsnr(argc - 2, argv + 2);
        } catch (const vips::VError& error) {
            std::fprintf(stderr, "bench-reduce: %s\n", error.what());
            return 1;
        }
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const char* only = argc > 2 ? argv[2] : nullptr;
    const int onlyWidth = argc > 3 ? std::atoi(argv[3]) : 0;
    const Case cases[] = {{4000, 3000, 1080, 810}, {5120, 2880, 1080, 608}};
    std::printf("kernels: %s, one thread, medians of %d\n", voveriz::resample::reduceKernelTarget(), runs);
    for (const Case& c : cases) {
        if (onlyWidth && c.width != onlyWidth) continue;
        const VImage in = photo(c.width, c.height);
        const double h = (double)c.width / c.toWidth;
        const double v = (double)c.height / c.toHeight;
        const auto libvips = [&] { return milliseconds(libvipsReduce(in, h, v)); };
        const auto ours = [&] { return milliseconds(voveriz::lanczos3Reduce(in, h, v)); };
        if (only) {
            const bool mine = std::strcmp(only, "ours") == 0;
            if (mine || std::strcmp(only, "libvips") == 0) {
                std::printf("%dx%d to %dx%d, %s: %.1f ms\n", c.width, c.height, c.toWidth, c.toHeight, only,
                            mine ? ours() : libvips());
            }
            continue;
        }
        std::vector<double> theirs;
        std::vector<double> mine;
        for (int i = 0; i < runs; i++) {
            theirs.push_back(libvips());
            mine.push_back(ours());
        }
        std::printf("%dx%d to %dx%d: libvips %.1f ms, ours %.1f ms, %.1fx faster\n", c.width, c.height, c.toWidth,
                    c.toHeight, median(theirs), median(mine), median(theirs) / median(mine));
    }
    return 0;
}
