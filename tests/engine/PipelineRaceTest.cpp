// Two workers building and releasing small pipelines at once, with libvips's generated vector code
// on, as the window's shared workers do. On Debian 12 (liborc 0.4.33) releasing one pipeline's
// vector code while another is being built corrupted liborc's code memory within seconds, until
// the engine kept the two apart.
#include "EngineTestSupport.h"

#include "engine/pipeline/PipelineGuard.h"

#include <vips/vector.h>

#include <atomic>
#include <cstdio>
#include <chrono>
#include <thread>

namespace voveriz::testing {
namespace {

using vips::VImage;

TEST(PipelineRace, TwoWorkersBuildAndReleasePipelinesForSeconds)
{
    ASSERT_TRUE(vips_vector_isenabled()) << "the engine runs with libvips's vector code on";
    // 8-bit color without alpha, which libvips reduces with vector code.
    TempDir in;
    testing::saveImage(testing::gradientImage(30, 20), in / "photo", ".jpg");
    const VImage pixels = testing::gradientImage(64, 48).copy_memory();

    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(8);
    std::atomic<int> failures{0};
    std::atomic<long> pipelines{0};
    // Each worker builds and releases small pipelines as fast as it can, the way the engine does,
    // and now and then puts a file through the engine itself.
    auto worker = [&] {
        TempDir out;
        for (int n = 1; std::chrono::steady_clock::now() < until; ++n) {
            if (n % 5 == 0) {
                const ResizeResult result = resizeImage(in / "photo", 12, Dimension::Width, out.path());
                if (result.outcome() != Outcome::Resized) ++failures;
                if (n % 1000 == 0) {  // keeps the "(n)" names short
                    std::filesystem::remove_all(out.path());
                    std::filesystem::create_directory(out.path());
                }
                continue;
            }
            // Three resize steps, each with vector programs of its own.
            const GuardedImage scaled([&] { return pixels.reduce(1.5, 1.5).reduce(1.25, 1.25).reduce(1.1, 1.1); });
            scaled->avg();
            ++pipelines;
        }
    };
    std::thread first(worker);
    std::thread second(worker);
    first.join();
    second.join();
    EXPECT_EQ(failures, 0);
    EXPECT_GT(pipelines, 100);
}

// The lock is decided by what the running libvips does. Releases up to 8.14 generate their vector
// code with liborc and need it while that code is on; 8.15 and later have none and need none.
TEST(PipelineRace, TheLockIsTakenWhereTheRunningLibvipsGeneratesCodeWithLiborc)
{
    const bool liborcRelease = vips_version(0) == 8 && vips_version(1) < 15;
    std::printf("[ INFO     ] libvips %s: the pipeline lock is %s\n", vips_version_string(),
                liborcRelease ? "taken while its vector code is on" : "never taken");
    ASSERT_TRUE(vips_vector_isenabled());
    EXPECT_EQ(lockPipelineChanges().owns_lock(), liborcRelease);
    vips_vector_set_enabled(FALSE);
    EXPECT_FALSE(lockPipelineChanges().owns_lock()) << "with the vector code off, nothing to guard";
    vips_vector_set_enabled(TRUE);
}

}  // namespace
}  // namespace voveriz::testing
