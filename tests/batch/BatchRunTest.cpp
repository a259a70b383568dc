#include "batch/BatchRun.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace voveriz {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

TEST(BatchSettingsCheck, FolderFirstThenTargetSizeThenEngine)
{
    TempDir dir;
    testing::writeFile(dir / "a.png", "");  // never reached by the engine in the refused rows
    struct Case {
        bool withFolder;
        const char* target;
        const char* line;
    };
    const Case cases[] = {
        {false, "640", "Please choose a Resized Folder first."},
        {false, "", "Please choose a Resized Folder first."},  // both wrong: only the folder line
        {false, "abc", "Please choose a Resized Folder first."},
        {true, "abc", "Enter a valid pixel number first."},
        {true, "", "Enter a valid pixel number first."},
        {true, "0", "Enter a valid pixel number first."},
        {true, "640\n", "Enter a valid pixel number first."},
        {true, " 640\t", "-  a.png - not an image, skipped"},
    };
    for (const Case& c : cases) {
        BatchSettingsSnapshot settings;
        if (c.withFolder) settings.outputPath = dir.path();
        settings.targetText = c.target;
        EXPECT_EQ(processDroppedFile(dir / "a.png", settings).line(), c.line)
            << "folder " << c.withFolder << ", target \"" << c.target << "\"";
    }
}

class BatchRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directory(out.path() / "Resized");
        settings->setOutputPath(out.path() / "Resized");
        settings->setTargetText("800");
        for (int i = 0; i < 6; ++i) {
            files.push_back(in / ("photo" + std::to_string(i) + ".png"));
            testing::writeImage(files.back(), 1000, 500);
        }
    }

    TempDir in;
    TempDir out;
    std::shared_ptr<BatchSettings> settings = std::make_shared<BatchSettings>();
    std::vector<fs::path> files;
    std::vector<std::string> lines;
};

TEST_F(BatchRunTest, TakesFilesInDropOrderAndReadsSettingsAfreshForEach)
{
    runBatch(files, settings, [&](BatchOutcome outcome) {
        lines.push_back(outcome.line());
        if (lines.size() == 3) settings->setTargetText("400");
        if (lines.size() == 4) settings->setDimension("height");
    });

    ASSERT_EQ(lines.size(), 6u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rfind("\u2713  photo" + std::to_string(i) + ".png 1000x500\n", 0), 0u) << lines[i];
    }
    const fs::path resized = out.path() / "Resized";
    EXPECT_EQ(testing::imageSize(resized / "photo2.png"), (testing::PixelSize{800, 400}));
    EXPECT_EQ(testing::imageSize(resized / "photo3.png"), (testing::PixelSize{400, 200}));
    EXPECT_EQ(testing::imageSize(resized / "photo4.png"), (testing::PixelSize{800, 400}));  // height 400
}

TEST_F(BatchRunTest, SkipsTheRestSilentlyOnceTheSettingsOwnerIsGone)
{
    std::weak_ptr<const BatchSettings> weak = settings;
    runBatch(files, weak, [&](BatchOutcome outcome) {
        lines.push_back(outcome.line());
        if (lines.size() == 2) settings.reset();
    });
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(testing::listFolder(out.path() / "Resized").size(), 2u);
}

TEST_F(BatchRunTest, AnEmptyDropDoesNothing)
{
    runBatch({}, settings, [&](BatchOutcome outcome) { lines.push_back(outcome.line()); });
    EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace voveriz
