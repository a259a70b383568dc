// Two workers building and releasing small pipelines at once, with libvips's generated vector code
// on, as the window's shared workers do. On Debian 12 (liborc 0.4.33) releasing one pipeline's
// vector code while another is being built corrupted liborc's code memory within seconds, until
// the engine kept the two apart.
#include "EngineTestSupport.h"

#include <vips/vector.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace voveriz {
namespace {

using testing::TempDir;

TEST(PipelineRace, TwoWorkersBuildAndReleasePipelinesForSeconds)
{
    ASSERT_TRUE(vips_vector_isenabled()) << "the engine runs with libvips's vector code on";
    TempDir in;
    // 8-bit colour without alpha, which libvips reduces with vector code: a PNG and a JPEG.
    testing::saveImage(testing::gradientImage(24, 16), in / "a", ".png");
    testing::saveImage(testing::gradientImage(30, 20), in / "b", ".jpg");

    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    std::atomic<int> failures{0};
    std::atomic<long> files{0};
    auto worker = [&](const char* name) {
        for (int n = 1; std::chrono::steady_clock::now() < until; ++n) {
            TempDir out;  // a fresh folder now and then keeps the "(n)" names short
            for (; n % 200 != 0; ++n) {
                if (resizeImage(in / name, 12, "width", out.path()).status() != "ok") ++failures;
                ++files;
            }
        }
    };
    std::thread first(worker, "a");
    std::thread second(worker, "b");
    first.join();
    second.join();
    EXPECT_EQ(failures, 0);
    EXPECT_GT(files, 100);
}

}  // namespace
}  // namespace voveriz
