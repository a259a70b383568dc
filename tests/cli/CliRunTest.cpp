#include "cli/CliProcess.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <vips/vips8>

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
        { "--width", "100", "--out", "o", "--strip=yes", "a.jpg" },
        { "--width", "100", "--out", "o", "--strip", "--strip-location", "a.jpg" },
        // --recursive with no folder among the PATHs.
        { "--width", "100", "--out", "o", "-r", "/nonexistent/a.jpg" },
    };
    for (const auto& arguments : rows) {
        CliRun run = runCli(arguments);
        SCOPED_TRACE(::testing::PrintToString(arguments));
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("voveriz-cli: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("Usage: voveriz-cli (--width N | --height N | --long-edge N | --short-edge N | --fit WxH)\n"),
                  std::string::npos);
    }
}

TEST(CliUsage, HelpPrintsUsageOnStdout)
{
    CliRun run = runCli({ "--help" });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("Usage: voveriz-cli (--width N | --height N | --long-edge N | --short-edge N | --fit WxH)\n", 0),
              0u);
    EXPECT_EQ(run.err, "");
}

// A small tree as a camera card or a photo library has it: a hidden folder, a text file, a link
// that loops back, a name already taken in the output, a subfolder with narrow permissions, and
// the output folder itself inside the tree.
TEST_F(CliRunTest, RecursiveWalksTheTreeInOrderIntoTheSameSubfolders)
{
    fs::path tree = in / "card";
    fs::create_directories(tree / "trip" / "day 2");
    fs::create_directories(tree / ".thumbnails");
    writeImage(tree / "b.jpg", 400, 300);
    writeImage(tree / "A.png", 300, 100);
    writeImage(tree / ".hidden.jpg", 400, 300);
    writeImage(tree / ".thumbnails" / "t.jpg", 400, 300);
    writeImage(tree / "trip" / "photo.jpg", 400, 300);
    writeImage(tree / "trip" / "photo.gif", 400, 300);  // wants photo.gif: no clash
    writeImage(tree / "trip" / "photo.webp", 400, 300);  // wants photo.jpg, taken a moment before
    writeFile(tree / "trip" / "notes.txt", "not a picture\n");
    writeImage(tree / "trip" / "day 2" / "small.jpg", 50, 40);
    fs::create_directory_symlink("../..", tree / "trip" / "day 2" / "loop");
    fs::create_directory(tree / "trip" / "empty");
    fs::permissions(tree / "trip", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    const fs::path resized = tree / "resized";
    fs::create_directory(resized);

    CliRun run = runCli({ "--width", "100", "--out", resized.string(), "-r", "--jobs", "2", tree.string(),
                          source("small.jpg") });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              kOk + "A.png 300x100\n   A.png 100x33\n"
                  + kOk + "b.jpg 400x300\n   b.jpg 100x75\n"
                  + "-  trip/notes.txt - not an image, skipped\n"
                  + kOk + "trip/photo.gif 400x300\n   trip/photo.gif 100x75\n"
                  + kOk + "trip/photo.jpg 400x300\n   trip/photo.jpg 100x75\n"
                  + kOk + "trip/photo.webp 400x300\n   trip/photo (1).jpg 100x75\n"
                  + "-  trip/day 2/loop - not an image, skipped\n"
                  + "-  trip/day 2/small.jpg - already 50px wide, copied as-is\n"
                  + "-  small.jpg - already 80px wide, copied as-is\n");
    EXPECT_EQ(listFolder(resized), (std::vector<std::string> { "A.png", "b.jpg", "small.jpg", "trip" }));
    EXPECT_EQ(listFolder(resized / "trip"),
              (std::vector<std::string> { "day 2", "photo (1).jpg", "photo.gif", "photo.jpg" }));
    EXPECT_EQ(readFile(resized / "trip" / "day 2" / "small.jpg"), readFile(tree / "trip" / "day 2" / "small.jpg"));
    // Never wider than the source folder: no access for others, as in trip.
    EXPECT_EQ(fs::status(resized / "trip").permissions() & fs::perms::others_all, fs::perms::none);
}

// Left out of the walk, an output folder that is a PATH itself would leave nothing to do.
TEST_F(CliRunTest, RecursiveRefusesAnOutputFolderThatIsAPath)
{
    CliRun run = runCli({ "--width", "100", "--out", in.path().string(), "-r", in.path().string() });
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("voveriz-cli: --out is a folder among the PATHs", 0), 0u) << run.err;
}

TEST_F(CliRunTest, StripReachesTheResizedFilesAndLeavesCopiesAlone)
{
    vips::VImage photo = vips::VImage::new_from_file(source("small.jpg").c_str()).copy();
    photo.set("exif-ifd0-Make", "Voveriz Test Camera");
    photo.jpegsave(source("camera.jpg").c_str());
    CliRun run = runCli({ "--width", "100", "--out", out().string(), "--strip", source("big.jpg"), source("camera.jpg") });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(vips::VImage::new_from_file((out() / "big.jpg").c_str()).get_typeof("exif-data"), 0u);
    EXPECT_EQ(readFile(out() / "camera.jpg"), readFile(in / "camera.jpg"));
}

TEST_F(CliRunTest, WithoutRecursiveAFolderIsNotAnImage)
{
    fs::create_directory(in / "sub");
    CliRun run = runCli({ "--width", "100", "--out", out().string(), (in / "sub").string() });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "-  sub - not an image, skipped\n");
}

}  // namespace

namespace {

struct SizeModeRow {
    std::vector<std::string> size;  // the size option and its value
    std::string lines;              // for land.jpg (400x300), port.png (300x400), turned.jpg (seen 300x400)
    std::vector<PixelSize> written;  // the written files' sizes in that order, upright
};

}  // namespace

TEST_F(CliRunTest, SizeModesMeasureEachImageAsItIsSeen)
{
    writeImage(in / "land.jpg", 400, 300);
    writeImage(in / "port.png", 300, 400);
    vips::VImage turned = gradientImage(400, 300).copy();
    turned.set(VIPS_META_ORIENTATION, 6);  // stored 400 x 300, seen 300 x 400
    turned.jpegsave((in / "turned.jpg").c_str());
    const std::string copied = ", copied as-is\n";
    const std::vector<SizeModeRow> rows = {
        { { "--long-edge", "200" },
          kOk + "land.jpg 400x300\n   land.jpg 200x150\n" + kOk + "port.png 300x400\n   port.png 150x200\n" + kOk
              + "turned.jpg 300x400\n   turned.jpg 150x200\n",
          { { 200, 150 }, { 150, 200 }, { 150, 200 } } },
        { { "--short-edge", "150" },
          kOk + "land.jpg 400x300\n   land.jpg 200x150\n" + kOk + "port.png 300x400\n   port.png 150x200\n" + kOk
              + "turned.jpg 300x400\n   turned.jpg 150x200\n",
          { { 200, 150 }, { 150, 200 }, { 150, 200 } } },
        { { "--fit", "200x100" },
          kOk + "land.jpg 400x300\n   land.jpg 133x100\n" + kOk + "port.png 300x400\n   port.png 75x100\n" + kOk
              + "turned.jpg 300x400\n   turned.jpg 75x100\n",
          { { 133, 100 }, { 75, 100 }, { 75, 100 } } },
        { { "--long-edge", "400" },
          "-  land.jpg - already 400px wide" + copied + "-  port.png - already 400px tall" + copied
              + "-  turned.jpg - already 400px tall" + copied,
          { { 400, 300 }, { 300, 400 }, { 400, 300 } } },  // a copy keeps its stored sides and tag
        { { "--fit", "1000x400" },  // the side that meets the box first is measured
          "-  land.jpg - already 300px tall" + copied + "-  port.png - already 400px tall" + copied
              + "-  turned.jpg - already 400px tall" + copied,
          { { 400, 300 }, { 300, 400 }, { 400, 300 } } },
    };
    for (const SizeModeRow& row : rows) {
        SCOPED_TRACE(row.size[0] + " " + row.size[1]);
        TempDir folder;
        std::vector<std::string> arguments = row.size;
        for (const char* name : { "land.jpg", "port.png", "turned.jpg" }) arguments.push_back(source(name));
        arguments.insert(arguments.end(), { "--out", folder.path().string() });
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, row.lines);
        EXPECT_EQ(imageSize(folder / "land.jpg"), row.written[0]);
        EXPECT_EQ(imageSize(folder / "port.png"), row.written[1]);
        EXPECT_EQ(imageSize(folder / "turned.jpg"), row.written[2]);
    }
    // A box is two sizes, each by the rule.
    for (const char* box : { "200", "200x", "x100", "200x0", "200X100" }) {
        const CliRun run = runCli({ "--fit", box, "--out", out().string(), source("land.jpg") });
        EXPECT_EQ(run.exitCode, 1) << box;
        EXPECT_EQ(run.out, "Enter a valid pixel number first.\n") << box;
    }
}

TEST_F(CliRunTest, KeepDatesGivesResizedFilesTheirSourcesTime)
{
    const auto then = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(in / "big.jpg", then);
    fs::last_write_time(in / "small.jpg", then);
    for (const bool keep : { false, true }) {
        TempDir folder;
        std::vector<std::string> arguments = { "--width", "100", "--out", folder.path().string(), source("big.jpg"),
                                               source("small.jpg") };
        if (keep) arguments.push_back("--keep-dates");
        ASSERT_EQ(runCli(arguments).exitCode, 0);
        EXPECT_EQ(fs::last_write_time(folder / "big.jpg") == then, keep) << "resized";
        EXPECT_EQ(fs::last_write_time(folder / "small.jpg"), then) << "copied";
    }
}
