#include "cli/CliProcess.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace voveriz::testing;

namespace {

const std::string kOk = "\u2713  ";
const std::string kFailed = "\u2717  ";

class CliRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directory(out());
        writeImage(in / "big.jpg", 400, 300);
        writeImage(in / "wide.png", 300, 100);
        writeImage(in / "small.jpg", 80, 60);
        writeFile(in / "notes.txt", "not a picture\n");
    }

    fs::path out() const { return work / "out"; }
    std::string source(const std::string& name) const { return (in / name).string(); }

    TempDir in;
    TempDir work;
};

TEST_F(CliRunTest, PrintsTheWindowsLinesAndNothingElse)
{
    CliRun run = runCli({ "--width", "100", "--out", out().string(), source("big.jpg"), source("wide.png"),
                          source("small.jpg"), source("notes.txt") });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              kOk + "big.jpg 400x300\n   big.jpg 100x75\n"
                  + kOk + "wide.png 300x100\n   wide.png 100x33\n"
                  + "-  small.jpg - already 80px wide, copied as-is\n"
                  + "-  notes.txt - not an image, skipped\n");
    EXPECT_EQ(listFolder(out()), (std::vector<std::string> { "big.jpg", "small.jpg", "wide.png" }));
    EXPECT_EQ(imageSize(out() / "big.jpg"), (PixelSize { 100, 75 }));
    EXPECT_EQ(readFile(out() / "small.jpg"), readFile(in / "small.jpg"));
}

TEST_F(CliRunTest, HeightModeAndASizeTextWithBlanksAroundIt)
{
    CliRun run = runCli({ "--height", " 50\t", "--out", out().string(), source("big.jpg"), source("big.jpg") });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, kOk + "big.jpg 400x300\n   big.jpg 67x50\n" + kOk + "big.jpg 400x300\n   big (1).jpg 67x50\n");
}

TEST_F(CliRunTest, ParallelJobsKeepTheArgumentOrder)
{
    // The first file is by far the slowest, so with three jobs the others finish before it.
    writeImage(in / "huge.jpg", 3000, 2000);
    std::vector<std::string> paths { source("huge.jpg"), source("big.jpg"), source("notes.txt"),
                                     source("wide.png"), source("small.jpg"), source("big.jpg") };
    std::vector<std::string> arguments { "--width", "100", "--out", out().string(), "--jobs", "3" };
    arguments.insert(arguments.end(), paths.begin(), paths.end());

    CliRun run = runCli(arguments);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              kOk + "huge.jpg 3000x2000\n   huge.jpg 100x67\n"
                  + kOk + "big.jpg 400x300\n   big.jpg 100x75\n"
                  + "-  notes.txt - not an image, skipped\n"
                  + kOk + "wide.png 300x100\n   wide.png 100x33\n"
                  + "-  small.jpg - already 80px wide, copied as-is\n"
                  + kOk + "big.jpg 400x300\n   big (1).jpg 100x75\n");
}

TEST_F(CliRunTest, AnUnusableSizeGivesTheSizeLineForEachFile)
{
    for (std::string size : { "abc", "0", "-300", "640\n", "" }) {
        CliRun run = runCli({ "--width", size, "--out", out().string(), source("big.jpg"), source("notes.txt") });
        EXPECT_EQ(run.exitCode, 1) << "size '" << size << "'";
        EXPECT_EQ(run.out, "Enter a valid pixel number first.\nEnter a valid pixel number first.\n");
        EXPECT_TRUE(listFolder(out()).empty());
    }
}

TEST_F(CliRunTest, WithoutAnOutputFolderEachFileSaysSoBeforeTheSizeIsChecked)
{
    CliRun run = runCli({ "--width", "abc", source("big.jpg"), source("small.jpg"), source("notes.txt") });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "Please choose a Resized Folder first.\nPlease choose a Resized Folder first.\n"
                       "Please choose a Resized Folder first.\n");
    EXPECT_TRUE(listFolder(in.path()) == (std::vector<std::string> { "big.jpg", "notes.txt", "small.jpg", "wide.png" }));
}

TEST_F(CliRunTest, AMissingOutputFolderIsHandedToTheEngineAndFailsTheRun)
{
    fs::path missing = work / "missing";
    CliRun run = runCli({ "--width", "100", "--out", missing.string(), source("notes.txt"), source("big.jpg") });
    EXPECT_EQ(run.exitCode, 1);
    const std::string expectedStart = "-  notes.txt - not an image, skipped\n" + kFailed + "big.jpg - ";
    EXPECT_EQ(run.out.substr(0, expectedStart.size()), expectedStart) << run.out;
    EXPECT_EQ(run.out.back(), '\n');
    EXPECT_FALSE(fs::exists(missing));
}

TEST(CliUsage, UsageErrorsExitWithTwoAndPrintOnlyToStderr)
{
    const std::vector<std::vector<std::string>> rows = {
        {},
        { "--width", "100", "--out", "o" },
        { "--width", "100", "--height", "100", "--out", "o", "a.jpg" },
        { "--width", "100", "--out", "o", "--jobs", "0", "a.jpg" },
        { "--width", "100", "--out", "o", "--jobs", "two", "a.jpg" },
        { "--width", "100", "--out", "o", "--fast", "a.jpg" },
        { "--out", "o", "a.jpg", "--width" },
    };
    for (const auto& arguments : rows) {
        CliRun run = runCli(arguments);
        SCOPED_TRACE(::testing::PrintToString(arguments));
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("voveriz-cli: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("Usage: voveriz-cli (--width N | --height N) --out DIR [--jobs J] PATH..."),
                  std::string::npos);
    }
}

TEST(CliUsage, HelpPrintsUsageOnStdout)
{
    CliRun run = runCli({ "--help" });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("Usage: voveriz-cli (--width N | --height N) --out DIR [--jobs J] PATH...\n", 0), 0u);
    EXPECT_EQ(run.err, "");
}

}  // namespace
