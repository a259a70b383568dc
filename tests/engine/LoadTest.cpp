// Two drops of 500 files each into one folder at the same time: 1,000 new files, no name used
// twice, nothing overwritten.
#include "EngineTestSupport.h"

#include <latch>
#include <set>
#include <thread>

namespace voveriz::testing {
namespace {

namespace fs = std::filesystem;

TEST(Load, TwoDropsOfFiveHundredIntoOneFolderMakeAThousandFiles)
{
    constexpr int kFiles = 500;
    TempDir first, second, out;
    // The same names in both drops; every third image is small enough to be copied as it is.
    testing::saveImage(testing::gradientImage(12, 16), first / "small", ".png");
    testing::saveImage(testing::gradientImage(24, 16), first / "large", ".png");
    testing::saveImage(testing::gradientImage(12, 16).flip(VIPS_DIRECTION_HORIZONTAL), second / "small", ".png");
    testing::saveImage(testing::gradientImage(24, 16).flip(VIPS_DIRECTION_HORIZONTAL), second / "large", ".png");
    for (const TempDir* drop : {&first, &second}) {
        const std::string small = readFile(*drop / "small"), large = readFile(*drop / "large");
        fs::remove(*drop / "small");
        fs::remove(*drop / "large");
        for (int i = 0; i < kFiles; ++i) {
            writeFile(*drop / ("photo" + std::to_string(i % 50) + "-" + std::to_string(i) + ".png"), i % 3 == 0 ? small : large);
        }
    }
    writeFile(out / "photo0-0.png", "already here");

    std::vector<std::vector<ResizeResult>> results(2);
    std::latch start(2);
    std::vector<std::thread> drops;
    for (int drop = 0; drop < 2; ++drop) {
        drops.emplace_back([&, drop] {
            const TempDir& source = drop == 0 ? first : second;
            start.arrive_and_wait();
            for (const std::string& name : listFolder(source.path())) {
                results[drop].push_back(resizeImage(source / name, 12, Dimension::Width, out.path()));
            }
        });
    }
    for (std::thread& thread : drops) thread.join();

    std::set<std::string> written;
    for (const auto& drop : results) {
        ASSERT_EQ(drop.size(), static_cast<std::size_t>(kFiles));
        for (const ResizeResult& result : drop) {
            ASSERT_NE(result.outcome(), Outcome::Failed) << result.message();
            const std::size_t lineBreak = result.message().find('\n');
            if (lineBreak != std::string::npos) {
                const std::string line = result.message().substr(lineBreak + 4);
                EXPECT_TRUE(written.insert(line.substr(0, line.rfind(' '))).second) << "named twice: " << line;
            }
        }
    }
    const std::vector<std::string> names = listFolder(out.path());
    EXPECT_EQ(names.size(), 2u * kFiles + 1);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    EXPECT_EQ(readFile(out / "photo0-0.png"), "already here");
    for (const std::string& name : names) EXPECT_NE(name[0], '.') << "a temporary file was left: " << name;
}

}  // namespace
}  // namespace voveriz::testing
