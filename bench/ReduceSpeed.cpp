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
//
// bench-reduce passes [RUNS [TARGET]]
// Each pass of ours alone, for the same two cases, on one thread: the vertical pass of the photo,
// then the horizontal pass of that pass's result (held in memory), both inputs marked sequential
// as the engine's decoded photos are. Each pass is pulled in strips of 16 lines into one region on
// this thread, as the next step of a pipeline pulls it: writing the vertical pass's 4000x810 out
// to memory takes 5.4x as long as the pass itself (27 ms against 5, 2-core). Timed is this
// thread's CPU time; printed are the medians of RUNS (default 15) in ms. TARGET (a name as
// printed, e.g. AVX2 or SSE4) runs that instruction set's kernels instead of the best one.
#include "engine/EngineRuntime.h"
#include "engine/resample/Lanczos3Reduce.h"
#include "engine/resample/ReduceKernels.h"
#include "engine/resample/ReduceOperation.h"

#include <hwy/targets.h>

#include <vips/vips8>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

using vips::VImage;

namespace {

struct Case {
    int width, height, toWidth, toHeight;
};

const Case kCases[] = {{4000, 3000, 1080, 810}, {5120, 2880, 1080, 608}};

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

double threadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// This thread's CPU time to make every pixel of `image`, pulled in strips of 16 lines into one
// region: libvips makes them on the thread that asks.
double pulledMilliseconds(const VImage& image)
{
    const double start = threadMilliseconds();
    VipsRegion* region = vips_region_new(image.get_image());
    for (int top = 0; top < image.height(); top += 16) {
        VipsRect strip{0, top, image.width(), std::min(16, image.height() - top)};
        if (vips_region_prepare(region, &strip)) {
            g_object_unref(region);
            throw vips::VError();
        }
    }
    g_object_unref(region);
    return threadMilliseconds() - start;
}

// `image` as a sequential decoder gives it: the reduce's vertical pass then keeps libvips's line
// cache after itself, which decides the regions it is asked for.
VImage markedSequential(const VImage& image)
{
    VImage marked = image.copy();
    marked.set(VIPS_META_SEQUENTIAL, 1);
    return marked;
}

bool chooseTarget(const char* name)
{
    for (const std::int64_t target : hwy::SupportedAndGeneratedTargets()) {
        if (std::strcmp(hwy::TargetName(target), name) == 0) {
            hwy::SetSupportedTargetsForTest(target);
            return true;
        }
    }
    return false;
}

int timePasses(int runs, const char* target)
{
    if (target && !chooseTarget(target)) {
        std::fprintf(stderr, "bench-reduce: no %s kernels here; there are", target);
        for (const std::int64_t t : hwy::SupportedAndGeneratedTargets()) {
            std::fprintf(stderr, " %s", hwy::TargetName(t));
        }
        std::fprintf(stderr, "\n");
        return 1;
    }
    std::printf("passes, kernels: %s, one thread, medians of %d\n", voveriz::resample::reduceKernelTarget(), runs);
    for (const Case& c : kCases) {
        const VImage in = markedSequential(photo(c.width, c.height));
        const double h = (double)c.width / c.toWidth;
        const double v = (double)c.height / c.toHeight;
        const VImage between = markedSequential(voveriz::resample::reduceAxis(in, v, true).copy_memory());
        std::vector<double> vertical;
        std::vector<double> horizontal;
        for (int i = 0; i < runs; i++) {
            vertical.push_back(pulledMilliseconds(voveriz::resample::reduceAxis(in, v, true)));
            horizontal.push_back(pulledMilliseconds(voveriz::resample::reduceAxis(between, h, false)));
        }
        std::printf("%dx%d to %dx%d: vertical %.2f ms, horizontal %.2f ms\n", c.width, c.height, c.toWidth,
                    c.toHeight, median(vertical), median(horizontal));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    voveriz::EngineRuntime runtime(argv[0]);
    vips_concurrency_set(1);
    try {
        if (argc > 2 && std::strcmp(argv[1], "psnr") == 0) return comparePsnr(argc - 2, argv + 2);
        if (argc > 1 && std::strcmp(argv[1], "passes") == 0) {
            return timePasses(argc > 2 ? std::max(1, std::atoi(argv[2])) : 15, argc > 3 ? argv[3] : nullptr);
        }
    } catch (const vips::VError& error) {
        std::fprintf(stderr, "bench-reduce: %s\n", error.what());
        return 1;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const char* only = argc > 2 ? argv[2] : nullptr;
    const int onlyWidth = argc > 3 ? std::atoi(argv[3]) : 0;
    std::printf("kernels: %s, one thread, medians of %d\n", voveriz::resample::reduceKernelTarget(), runs);
    for (const Case& c : kCases) {
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
