// The file-safety rules: failed copies are errors, nothing is overwritten, nothing partial
// is left under a final name, links are never written through, and two calls at once both succeed.
#include "engine/files/ExclusiveFileTesting.h"

#include "EngineTestSupport.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <latch>
#include <set>
#include <thread>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace voveriz::testing {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// As root, permission bits stop nobody: run this very test again in a child process as "nobody".
// Returns true when the test was handed to the child (whose verdict is then checked here).
bool handedToUnprivilegedChild()
{
    if (::geteuid() != 0) return false;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(77);
        ::execl("/proc/self/exe", "engine_tests", filter.c_str(), static_cast<char*>(nullptr));
        ::_exit(78);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && (WEXITSTATUS(status) == 77 || WEXITSTATUS(status) == 78)) {
        ADD_FAILURE() << "could not run the test as an unprivileged user";
    } else {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the test failed as user nobody";
    }
    return true;
}

// A picture of noise, so that its encoded form is big and does not compress away.
void writeNoise(const fs::path& file, int width, int height)
{
    vips::VImage noise = vips::VImage::gaussnoise(width, height, vips::VImage::option()->set("sigma", 60));
    noise = noise.bandjoin(noise.rot90()).bandjoin(noise.flip(VIPS_DIRECTION_HORIZONTAL)).cast(VIPS_FORMAT_UCHAR);
    testing::saveImage(noise.copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB)), file, ".png");
}

class FileSafety : public EngineTest {
protected:
    void TearDown() override { useNamedTemporaryFilesOnly(false); }
};

TEST_F(FileSafety, AReadOnlyFolderIsAnErrorAndGetsNothing)
{
    if (handedToUnprivilegedChild()) return;
    writeImage(in / "big.png", 200, 100);
    writeImage(in / "small.png", 20, 10);
    fs::permissions(out.path(), fs::perms::owner_read | fs::perms::owner_exec);
    for (bool named : {false, true}) {
        useNamedTemporaryFilesOnly(named);
        EXPECT_EQ(run("big.png", 100).message(), "big.png - Permission denied");
        EXPECT_EQ(run("small.png", 100).outcome(), Outcome::Failed);
        EXPECT_EQ(run("small.png", 100).message(), "small.png - Permission denied");
        EXPECT_EQ(listFolder(out.path()), Names{});
    }
}

TEST_F(FileSafety, AnUnreadableSourceIsNotCopiedAsIs)
{
    if (handedToUnprivilegedChild()) return;
    writeImage(in / "small.png", 20, 10);
    fs::permissions(in / "small.png", fs::perms::none);
    const ResizeResult result = run("small.png", 100);
    // Unreadable means libvips cannot read it as an image either.
    EXPECT_EQ(result.message(), "small.png - not an image, skipped");
    EXPECT_EQ(listFolder(out.path()), Names{});
}

// Sets the process's umask for the life of a scope.
class Umask {
public:
    explicit Umask(mode_t mask) : m_saved(::umask(mask)) {}
    ~Umask() { ::umask(m_saved); }
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

private:
    mode_t m_saved;
};

std::string octal(mode_t mode)
{
    char text[16];
    std::snprintf(text, sizeof text, "0%03o", static_cast<unsigned>(mode));
    return text;
}

TEST_F(FileSafety, OutputsGrantGroupAndOthersNoMoreThanTheirSource)
{
    writeImage(in / "photo.jpg", 200, 100);
    struct Case {
        mode_t umask, source, expected;
    };
    // 0666 less the umask, and within that nothing for group or others that the source does not grant.
    // The owner always reads and writes; execute bits never pass on.
    const Case cases[] = {{022, 0600, 0600}, {022, 0640, 0640}, {022, 0644, 0644}, {002, 0640, 0640},
                          {002, 0666, 0664}, {027, 0644, 0640}, {022, 0755, 0644}, {022, 0400, 0600}};
    for (bool named : {false, true}) {
        useNamedTemporaryFilesOnly(named);
        for (const Case& c : cases) {
            TempDir folder;
            ::chmod((in / "photo.jpg").c_str(), c.source);
            {
                Umask mask(c.umask);
                ASSERT_EQ(runOn(in / "photo.jpg", 100, Dimension::Width, folder.path()).outcome(), Outcome::Resized);
                ASSERT_EQ(runOn(in / "photo.jpg", 200, Dimension::Width, folder.path()).outcome(), Outcome::Copied);
            }
            for (const char* written : {"photo.jpg", "photo (1).jpg"}) {
                struct stat info {};
                ASSERT_EQ(::stat((folder / written).c_str(), &info), 0);
                EXPECT_EQ(octal(info.st_mode & 07777), octal(c.expected))
                    << "source " << octal(c.source) << ", umask " << octal(c.umask) << ": " << written
                    << (named ? " (named temporary file)" : " (O_TMPFILE)");
            }
        }
    }
}

// A write that fails half-way (as on a full disk): the file size limit makes write() fail with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previous);
    }

private:
    rlimit m_saved{};
    void (*m_previous)(int) = nullptr;
};

TEST_F(FileSafety, AWriteThatFailsHalfWayLeavesNothing)
{
    writeNoise(in / "noise.png", 400, 300);
    writeNoise(in / "small.png", 100, 80);
    ASSERT_GT(fs::file_size(in / "small.png"), 8192u);
    for (bool named : {false, true}) {
        useNamedTemporaryFilesOnly(named);
        ResizeResult scaled({}), copied({});
        {
            FileSizeLimit limit(8192);
            scaled = run("noise.png", 300);
            copied = run("small.png", 100);
        }
        EXPECT_EQ(scaled.outcome(), Outcome::Failed);
        EXPECT_EQ(scaled.message(), "noise.png - File too large");
        EXPECT_EQ(copied.outcome(), Outcome::Failed);
        EXPECT_EQ(copied.message(), "small.png - File too large");
        EXPECT_EQ(listFolder(out.path()), Names{}) << (named ? "named temporary file" : "O_TMPFILE");
    }
}

TEST_F(FileSafety, NothingIsOverwrittenAndNoTemporaryFileIsLeft)
{
    writeImage(in / "photo.jpg", 200, 100);
    for (bool named : {false, true}) {
        TempDir folder;
        useNamedTemporaryFilesOnly(named);
        writeFile(folder / "photo.jpg", "mine");
        writeFile(folder / "photo (1).jpg", "mine too");
        EXPECT_EQ(runOn(in / "photo.jpg", 100, Dimension::Width, folder.path()).message(),
                  "photo.jpg 200x100\n   photo (2).jpg 100x50");
        EXPECT_EQ(runOn(in / "photo.jpg", 200, Dimension::Width, folder.path()).message(),
                  "photo.jpg - already 200px wide, copied as-is");
        EXPECT_EQ(listFolder(folder.path()), (Names{"photo (1).jpg", "photo (2).jpg", "photo (3).jpg", "photo.jpg"}));
        EXPECT_EQ(readFile(folder / "photo.jpg"), "mine");
        EXPECT_EQ(readFile(folder / "photo (1).jpg"), "mine too");
        EXPECT_TRUE(readFile(folder / "photo (3).jpg") == readFile(in / "photo.jpg"));
    }
}

TEST_F(FileSafety, LinksTakeTheNameAndAreNeverWrittenThrough)
{
    writeImage(in / "photo.jpg", 200, 100);
    writeFile(in / "victim.jpg", "victim");
    fs::create_symlink(in / "nowhere.jpg", out / "photo.jpg");    // dangling
    fs::create_symlink(in / "victim.jpg", out / "photo (1).jpg");  // to a file
    EXPECT_EQ(run("photo.jpg", 100).message(), "photo.jpg 200x100\n   photo (2).jpg 100x50");
    EXPECT_EQ(run("photo.jpg", 200).message(), "photo.jpg - already 200px wide, copied as-is");
    EXPECT_FALSE(fs::exists(in / "nowhere.jpg"));
    EXPECT_EQ(readFile(in / "victim.jpg"), "victim");
    EXPECT_TRUE(fs::is_symlink(out / "photo.jpg"));
    EXPECT_TRUE(fs::is_symlink(out / "photo (1).jpg"));
    EXPECT_EQ(listFolder(out.path()), (Names{"photo (1).jpg", "photo (2).jpg", "photo (3).jpg", "photo.jpg"}));
}

// Runs the engine on every source at once, one thread each, all into outputDir.
std::vector<ResizeResult> runAtOnce(const std::vector<fs::path>& sources, std::int64_t target, const fs::path& outputDir)
{
    std::vector<ResizeResult> results(sources.size(), ResizeResult({}));
    std::latch start(static_cast<std::ptrdiff_t>(sources.size()));
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        threads.emplace_back([&, i] {
            start.arrive_and_wait();
            results[i] = resizeImage(sources[i], target, Dimension::Width, outputDir);
        });
    }
    for (std::thread& thread : threads) thread.join();
    return results;
}

TEST_F(FileSafety, TwoCallsAtOnceWithTheSameNameBothSucceed)
{
    TempDir first, second;
    writeImage(first / "photo.jpg", 64, 48);
    testing::saveImage(testing::gradientImage(64, 48).flip(VIPS_DIRECTION_HORIZONTAL), second / "photo.jpg", ".jpg");
    for (bool named : {false, true}) {
        useNamedTemporaryFilesOnly(named);
        for (int round = 0; round < 30; ++round) {
            TempDir folder;
            // Scaled and scaled, then copied and copied.
            const std::int64_t target = round % 2 == 0 ? 32 : 64;
            const auto results = runAtOnce({first / "photo.jpg", second / "photo.jpg"}, target, folder.path());
            std::set<std::string> messages;
            for (const ResizeResult& result : results) {
                EXPECT_EQ(result.outcome(), target == 32 ? Outcome::Resized : Outcome::Copied);
                messages.insert(result.message());
            }
            if (target == 32) {
                EXPECT_EQ(messages, (std::set<std::string>{"photo.jpg 64x48\n   photo.jpg 32x24",
                                                           "photo.jpg 64x48\n   photo (1).jpg 32x24"}));
            }
            ASSERT_EQ(listFolder(folder.path()), (Names{"photo (1).jpg", "photo.jpg"})) << "round " << round;
            if (target == 32) {
                EXPECT_EQ(imageSize(folder / "photo.jpg"), (PixelSize{32, 24}));
                EXPECT_EQ(imageSize(folder / "photo (1).jpg"), (PixelSize{32, 24}));
                EXPECT_FALSE(readFile(folder / "photo.jpg") == readFile(folder / "photo (1).jpg"));
            } else {
                const std::set<std::string> copies{readFile(folder / "photo.jpg"), readFile(folder / "photo (1).jpg")};
                EXPECT_EQ(copies, (std::set<std::string>{readFile(first / "photo.jpg"), readFile(second / "photo.jpg")}));
            }
        }
    }
}

TEST_F(FileSafety, ManyCallsAtOnceGetManyNames)
{
    writeImage(in / "photo.jpg", 64, 48);
    const int count = 16;
    for (std::int64_t target : {32, 64}) {
        TempDir folder;
        const auto results = runAtOnce(std::vector<fs::path>(count, in / "photo.jpg"), target, folder.path());
        Names expected{"photo.jpg"};
        for (int n = 1; n < count; ++n) expected.push_back("photo (" + std::to_string(n) + ").jpg");
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(listFolder(folder.path()), expected);
        for (const ResizeResult& result : results) EXPECT_NE(result.outcome(), Outcome::Failed) << result.message();
    }
}

}  // namespace
}  // namespace voveriz::testing
