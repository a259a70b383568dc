#pragma once

#include "engine/ResizeImage.h"
#include "engine/resample/Lanczos3Reduce.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <vips/vips8>

#include <cmath>
#include <filesystem>
#include <string>

namespace voveriz::testing {

// A source folder and an output folder, and a check that the engine never changes a source.
class EngineTest : public ::testing::Test {
protected:
    TempDir in;
    TempDir out;

    // Runs the engine on in/name and checks that the source kept its bytes and its time.
    ResizeResult run(const std::string& name, std::int64_t target, Dimension dimension = Dimension::Width)
    {
        return runOn(in / name, target, dimension, out.path());
    }

    static ResizeResult runOn(const std::filesystem::path& src, std::int64_t target, Dimension dimension,
                              const std::filesystem::path& outputDir, const MetadataOptions& metadata = {})
    {
        std::error_code error;
        const bool isFile = std::filesystem::is_regular_file(src, error);
        const std::string before = isFile ? readFile(src) : std::string();
        const auto time = isFile ? std::filesystem::last_write_time(src) : std::filesystem::file_time_type();
        ResizeResult result = resizeImage(src, target, dimension, outputDir, metadata);
        if (isFile) {
            EXPECT_EQ(readFile(src), before) << "the source changed: " << src;
            EXPECT_EQ(std::filesystem::last_write_time(src), time) << "the source was touched: " << src;
        }
        return result;
    }
};

// Whether the running libvips's own Lanczos3 reduce of 8-bit images gives our reduce's bytes
// (libvips 8.14's arithmetic), found by running both on an image of noise and hard edges. libvips
// 8.16's does not: its vertical pass keeps 12-bit weights where 8.14's keeps 6. Where it does not,
// a test comparing with libvips's reduce or thumbnail says so and checks what still holds.
inline bool libvipsReducesAsOurs()
{
    static const bool same = [] {
        const vips::VImage noise = vips::VImage::gaussnoise(211, 157, vips::VImage::option()->set("sigma", 90.0));
        const vips::VImage edges = (vips::VImage::xyz(211, 157)[0] / 5).floor() % 2 * 255;
        const vips::VImage probe =
            (noise + 128).bandjoin({edges, noise * -1 + 128}).cast(VIPS_FORMAT_UCHAR).copy_memory();
        const auto options = [] {
            return vips::VImage::option()->set("kernel", VIPS_KERNEL_LANCZOS3)->set("gap", 2.0);
        };
        const vips::VImage theirs = probe.reducev(157.0 / 61, options()).reduceh(211.0 / 89, options());
        const vips::VImage ours = lanczos3Reduce(probe, 211.0 / 89, 157.0 / 61);
        return (ours.cast(VIPS_FORMAT_INT) - theirs.cast(VIPS_FORMAT_INT)).abs().max() == 0.0;
    }();
    return same;
}

// The PSNR (dB) of b against a over every byte; 99 where they are the same.
inline double psnr(const vips::VImage& a, const vips::VImage& b)
{
    const vips::VImage difference = a.cast(VIPS_FORMAT_FLOAT) - b.cast(VIPS_FORMAT_FLOAT);
    const double meanSquare = (difference * difference).avg();
    return meanSquare == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / meanSquare);
}

// The running libvips's version as "8.16.1".
inline std::string libvipsVersion()
{
    return vips_version_string();
}

}  // namespace voveriz::testing
