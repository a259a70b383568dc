// bench-psnr SOURCE_DIR OUTPUT_DIR...
// For each output folder, the mean PSNR (dB) of its images against references made from the
// sources: each source decoded at full size and scaled with Lanczos3 to exactly the size of the
// output being judged. An output has the name of its source, or else its stem with ".jpg" (a HEIC
// source written as JPEG), or else its stem with any other extension (an output written in
// another format, photo001.jpg as photo001.webp; of several, the first by name). Prints
// "folder mean count" lines.
#include <vips/vips8>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using vips::VImage;

namespace {

VImage asSrgb(const VImage& image)
{
    VImage srgb = image.colourspace(VIPS_INTERPRETATION_sRGB);
    return srgb.bands() > 3 ? srgb.extract_band(0, VImage::option()->set("n", 3)) : srgb;
}

// Scaled in float and rounded to 8 bits once: libvips's resize of 8-bit pixels has fixed-point
// arithmetic of its own (6-bit vertical weights in 8.14, 12-bit in 8.16), and a reference in it
// would favour whichever tool shares the installed libvips's rounding.
VImage reference(const VImage& source, int width, int height)
{
    const VImage exact = source.cast(VIPS_FORMAT_FLOAT);
    // vips rounds the scaled size; nudge the scale a quarter pixel up if it fell short.
    for (double nudge : { 0.0, 0.25 }) {
        VImage scaled = exact.resize((width + nudge) / source.width(),
                                     VImage::option()
                                         ->set("vscale", (height + nudge) / source.height())
                                         ->set("kernel", VIPS_KERNEL_LANCZOS3));
        if (scaled.width() == width && scaled.height() == height) {
            return scaled.round(VIPS_OPERATION_ROUND_RINT).cast(VIPS_FORMAT_UCHAR).copy_memory();
        }
    }
    throw vips::VError("cannot scale the reference to the output's size");
}

// The output judged against source in folder, by the names above: none if there is none.
std::optional<fs::path> outputOf(const fs::path& folder, const fs::path& source)
{
    for (const fs::path& name : { source.filename(), fs::path(source.stem()) += ".jpg" }) {
        if (fs::exists(folder / name)) return folder / name;
    }
    std::optional<fs::path> first;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const fs::path& path = entry.path();
        if (path.stem() == source.stem() && path.has_extension() && (!first || path < *first)) first = path;
    }
    return first;
}

double psnr(const VImage& a, const VImage& b)
{
    VImage difference = a.cast(VIPS_FORMAT_FLOAT) - b.cast(VIPS_FORMAT_FLOAT);
    double meanSquare = (difference * difference).avg();
    return meanSquare == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / meanSquare);
}

}  // namespace

int main(int argc, char** argv)
{
    if (VIPS_INIT(argv[0]) != 0 || argc < 3) {
        std::fprintf(stderr, "usage: bench-psnr SOURCE_DIR OUTPUT_DIR...\n");
        return 2;
    }
    std::vector<fs::path> sources;
    for (const auto& entry : fs::directory_iterator(argv[1])) sources.push_back(entry.path());

    std::vector<std::pair<double, int>> totals(argc - 2, { 0.0, 0 });
    try {
        for (const fs::path& sourcePath : sources) {
            VImage source = asSrgb(VImage::new_from_file(sourcePath.c_str())).copy_memory();
            std::map<std::pair<int, int>, VImage> references;  // by output size
            for (int k = 2; k < argc; ++k) {
                const std::optional<fs::path> output = outputOf(argv[k], sourcePath);
                if (!output) continue;
                VImage judged = asSrgb(VImage::new_from_file(output->c_str()));
                auto size = std::make_pair(judged.width(), judged.height());
                if (!references.contains(size)) references.emplace(size, reference(source, size.first, size.second));
                totals[k - 2].first += psnr(references.at(size), judged);
                totals[k - 2].second += 1;
            }
        }
    } catch (const vips::VError& error) {
        std::fprintf(stderr, "bench-psnr: %s\n", error.what());
        return 1;
    }
    for (int k = 2; k < argc; ++k) {
        auto [sum, count] = totals[k - 2];
        std::printf("%s %.2f %d\n", argv[k], count ? sum / count : 0.0, count);
    }
    vips_shutdown();
    return 0;
}
