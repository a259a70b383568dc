#include "batch/BatchRun.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace voveriz {
namespace {

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

}  // namespace
}  // namespace voveriz
