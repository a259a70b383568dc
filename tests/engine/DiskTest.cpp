// The disk under a batch: full, made read-only, its folder gone, a source gone. Each file gets the
// right line, nothing partial or temporary is left, and the files after it are still done.
#include "engine/files/ExclusiveFileTesting.h"

#include "EngineTestSupport.h"

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

namespace voveriz::testing {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// A tmpfs of the given size mounted over a fresh folder (root only); unmounted at the end.
class SmallDisk {
public:
    explicit SmallDisk(const std::string& size)
    {
        const std::string options = "size=" + size + ",mode=0755";
        if (::mount("tmpfs", m_dir.path().c_str(), "tmpfs", 0, options.c_str()) == 0) {
            m_mounted = true;
        } else {
            m_error = std::strerror(errno);
        }
    }
    ~SmallDisk()
    {
        if (m_mounted) ::umount2(m_dir.path().c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& error() const { return m_error; }
    const fs::path& path() const { return m_dir.path(); }
    bool remount(bool readOnly)
    {
        return ::mount(nullptr, m_dir.path().c_str(), nullptr, MS_REMOUNT | (readOnly ? MS_RDONLY : 0), nullptr) == 0;
    }
    // Bytes in use: what the files hold, and what an unnamed or forgotten temporary file would hold.
    std::uintmax_t usedBytes() const
    {
        struct statvfs info {};
        ::statvfs(m_dir.path().c_str(), &info);
        return static_cast<std::uintmax_t>(info.f_blocks - info.f_bfree) * info.f_frsize;
    }

private:
    TempDir m_dir;
    bool m_mounted = false;
    std::string m_error;
};

// What the files of a folder take on a tmpfs: whole pages.
std::uintmax_t pagesOf(const fs::path& dir)
{
    const auto page = static_cast<std::uintmax_t>(::sysconf(_SC_PAGESIZE));
    std::uintmax_t total = 0;
    for (const auto& entry : fs::directory_iterator(dir)) total += (entry.file_size() + page - 1) / page * page;
    return total;
}

// Noise does not compress: its PNG is about width x height x 3 bytes.
void writeNoise(const fs::path& file, int width, int height)
{
    auto band = [&] { return vips::VImage::gaussnoise(width, height, vips::VImage::option()->set("sigma", 60)); };
    const vips::VImage noise = band().bandjoin(band()).bandjoin(band()).cast(VIPS_FORMAT_UCHAR);
    testing::saveImage(noise.copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB)), file, ".png");
}

// Runs the engine over names in order (as one drop does), calling between(i) before file i.
std::vector<std::string> runBatch(const fs::path& inDir, const std::vector<std::string>& names, std::int64_t target,
                                  const fs::path& outDir, const std::function<void(std::size_t)>& between = {})
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (between) between(i);
        const ResizeResult result = resizeImage(inDir / names[i], target, Dimension::Width, outDir);
        lines.push_back(result.status() + ": " + result.message());
    }
    return lines;
}

class Disk : public ::testing::Test {
protected:
    TempDir in;
    void TearDown() override { useNamedTemporaryFilesOnly(false); }
};

#define REQUIRE_MOUNTED(disk)                                                                      \
    if (!(disk).mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (" << (disk).error() \
                                        << "); the write-failure tests of FileSafety still run"

TEST_F(Disk, AFullDiskFailsTheFilesThatDoNotFitAndTheBatchGoesOn)
{
    writeNoise(in / "big.png", 600, 400);    // scaled to 300 x 200: about 180 KB
    writeNoise(in / "large.png", 300, 200);  // copied as it is: about 180 KB
    testing::writeImage(in / "tiny.png", 30, 20);
    for (bool named : {false, true}) {
        SmallDisk disk("448k");
        REQUIRE_MOUNTED(disk);
        useNamedTemporaryFilesOnly(named);
        const std::vector<std::string> lines =
            runBatch(in.path(), {"big.png", "large.png", "big.png", "large.png", "tiny.png"}, 300, disk.path());
        const std::string mode = named ? "named temporary file" : "O_TMPFILE";
        EXPECT_EQ(lines, (Names{"ok: big.png 600x400\n   big.png 300x200",
                                "skip: large.png - already 300px wide, copied as-is",
                                "error: big.png - No space left on device",
                                "error: large.png - No space left on device",
                                "skip: tiny.png - already 30px wide, copied as-is"}))
            << mode;
        EXPECT_EQ(listFolder(disk.path()), (Names{"big.png", "large.png", "tiny.png"})) << mode;
        EXPECT_TRUE(readFile(disk.path() / "large.png") == readFile(in / "large.png"));
        // Nothing but the finished files holds space: no unnamed file still open, no hidden one.
        EXPECT_EQ(disk.usedBytes(), pagesOf(disk.path())) << mode;
    }
}

TEST_F(Disk, AFolderMadeReadOnlyInTheMiddleFailsOnlyWhileItIs)
{
    testing::writeImage(in / "a.png", 200, 100);
    testing::writeImage(in / "b.png", 50, 25);
    for (bool named : {false, true}) {
        SmallDisk disk("4m");
        REQUIRE_MOUNTED(disk);
        useNamedTemporaryFilesOnly(named);
        const std::vector<std::string> lines =
            runBatch(in.path(), {"a.png", "a.png", "b.png", "a.png", "b.png"}, 100, disk.path(), [&](std::size_t i) {
                if (i == 1) {
                    EXPECT_TRUE(disk.remount(true));
                }
                if (i == 3) {
                    EXPECT_TRUE(disk.remount(false));
                }
            });
        EXPECT_EQ(lines, (Names{"ok: a.png 200x100\n   a.png 100x50", "error: a.png - Read-only file system",
                                "error: b.png - Read-only file system", "ok: a.png 200x100\n   a (1).png 100x50",
                                "skip: b.png - already 50px wide, copied as-is"}));
        EXPECT_EQ(listFolder(disk.path()), (Names{"a (1).png", "a.png", "b.png"}));
        EXPECT_EQ(disk.usedBytes(), pagesOf(disk.path()));
    }
}

TEST_F(Disk, AFolderThatDisappearsInTheMiddleGetsNothingMoreAndTheBatchGoesOn)
{
    testing::writeImage(in / "a.png", 200, 100);
    testing::writeImage(in / "b.png", 50, 25);
    for (bool named : {false, true}) {
        TempDir root;
        const fs::path folder = root / "Resized";
        fs::create_directory(folder);
        useNamedTemporaryFilesOnly(named);
        const std::vector<std::string> lines =
            runBatch(in.path(), {"a.png", "a.png", "b.png", "a.png"}, 100, folder, [&](std::size_t i) {
                if (i == 1) fs::rename(folder, root / "Moved away");
                if (i == 3) fs::create_directory(folder);
            });
        EXPECT_EQ(lines, (Names{"ok: a.png 200x100\n   a.png 100x50", "error: a.png - No such file or directory",
                                "error: b.png - No such file or directory", "ok: a.png 200x100\n   a.png 100x50"}));
        // Nothing followed the folder to where it went.
        EXPECT_EQ(listFolder(root / "Moved away"), Names{"a.png"});
        EXPECT_EQ(listFolder(folder), Names{"a.png"});
    }
}

TEST_F(Disk, ASourceThatDisappearsBeforeItsTurnIsSkippedAndTheBatchGoesOn)
{
    testing::writeImage(in / "a.png", 200, 100);
    testing::writeImage(in / "gone.png", 200, 100);
    TempDir out;
    const std::vector<std::string> lines =
        runBatch(in.path(), {"a.png", "gone.png", "a.png"}, 100, out.path(), [&](std::size_t i) {
            if (i == 1) fs::remove(in / "gone.png");
        });
    EXPECT_EQ(lines, (Names{"ok: a.png 200x100\n   a.png 100x50", "skip: gone.png - not an image, skipped",
                            "ok: a.png 200x100\n   a (1).png 100x50"}));
    EXPECT_EQ(listFolder(out.path()), (Names{"a (1).png", "a.png"}));
}

}  // namespace
}  // namespace voveriz::testing
