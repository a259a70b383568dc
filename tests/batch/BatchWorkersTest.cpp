#include "batch/BatchWorkers.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace voveriz {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::TempDir;

// A flag other threads can wait for, with a bound so a broken scheduler fails instead of hanging.
class Signal {
public:
    void raise()
    {
        std::lock_guard lock(m_mutex);
        m_raised = true;
        m_changed.notify_all();
    }
    bool waitFor(std::chrono::seconds limit)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, limit, [this] { return m_raised; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_raised = false;
};

BatchOutcome lineFor(const fs::path& file)
{
    return {std::nullopt, file.string()};
}

std::vector<fs::path> names(const std::string& prefix, int count)
{
    std::vector<fs::path> files;
    for (int i = 0; i < count; ++i) files.push_back(prefix + std::to_string(i));
    return files;
}

// Collects one drop's lines; safe to read once the workers are idle.
struct Lines {
    std::vector<std::string> lines;
    BatchWorkers::Deliver deliver()
    {
        return [this](BatchOutcome outcome) { lines.push_back(outcome.line()); };
    }
};

TEST(BatchWorkers, DeliversInFileOrderWithNoMoreThanItsThreadsInWork)
{
    for (unsigned threads : {1u, 2u, 3u}) {
        std::atomic<int> inWork{0}, mostInWork{0};
        BatchWorkers workers(threads, [&](const fs::path& file, const BatchSettingsSnapshot&) {
            const int now = ++inWork;
            int seen = mostInWork.load();
            while (now > seen && !mostInWork.compare_exchange_weak(seen, now)) {
            }
            // Early files are slow, so later ones finish first.
            std::this_thread::sleep_for(std::chrono::milliseconds(20 - 2 * std::stoi(file.string().substr(1))));
            --inWork;
            return lineFor(file);
        });
        auto settings = std::make_shared<BatchSettings>();
        Lines first, second;
        workers.submit(names("a", 9), settings, first.deliver());
        workers.submit(names("b", 9), settings, second.deliver());
        workers.waitUntilIdle();
        EXPECT_EQ(first.lines, (std::vector<std::string>{"a0", "a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8"}));
        EXPECT_EQ(second.lines, (std::vector<std::string>{"b0", "b1", "b2", "b3", "b4", "b5", "b6", "b7", "b8"}));
        EXPECT_LE(mostInWork.load(), static_cast<int>(threads)) << threads << " threads";
        if (threads > 1) {
            EXPECT_GT(mostInWork.load(), 1) << threads << " threads";
        }
    }
}

TEST(BatchWorkers, ADropMadeWhileAnotherRunsStartsAtOnce)
{
    // One thread, a long drop held at its first file; a second drop's file must come next but
    // one, not behind the first drop's thousand files.
    Signal secondSubmitted;
    std::vector<std::string> started;
    BatchWorkers workers(1, [&](const fs::path& file, const BatchSettingsSnapshot&) {
        started.push_back(file.string());
        if (file == "a0") secondSubmitted.waitFor(20s);
        return lineFor(file);
    });
    auto settings = std::make_shared<BatchSettings>();
    Lines first, second;
    workers.submit(names("a", 1000), settings, first.deliver());
    workers.submit({"b0"}, settings, second.deliver());
    secondSubmitted.raise();
    workers.waitUntilIdle();
    ASSERT_EQ(started.size(), 1001u);
    EXPECT_LE(std::find(started.begin(), started.end(), "b0") - started.begin(), 2);
    EXPECT_EQ(second.lines, std::vector<std::string>{"b0"});
}

TEST(BatchWorkers, DeliversEachLineAsSoonAsItAndThoseBeforeItAreDone)
{
    // File 1 waits to see line 0 delivered: workers that delivered at the end would leave it waiting.
    Signal firstDelivered;
    bool sawFirst = false;
    BatchWorkers workers(2, [&](const fs::path& file, const BatchSettingsSnapshot&) {
        if (file == "a1") sawFirst = firstDelivered.waitFor(20s);
        return lineFor(file);
    });
    std::vector<std::string> lines;
    auto settings = std::make_shared<BatchSettings>();
    workers.submit(names("a", 3), settings, [&](BatchOutcome outcome) {
        lines.push_back(outcome.line());
        if (lines.size() == 1) firstDelivered.raise();
    });
    workers.waitUntilIdle();
    EXPECT_TRUE(sawFirst);
    EXPECT_EQ(lines, (std::vector<std::string>{"a0", "a1", "a2"}));
}

TEST(BatchWorkers, FilesOfTheSameNameRunOneAfterTheOther)
{
    // a/photo.jpg and b/photo.png could both want "photo.jpg"-like names: the later one starts only
    // once the earlier is done, whatever the number of threads.
    std::atomic<int> photosInWork{0};
    bool overlapped = false;
    BatchWorkers workers(3, [&](const fs::path& file, const BatchSettingsSnapshot&) {
        const bool photo = file.stem() == "photo";
        if (photo && ++photosInWork > 1) overlapped = true;
        std::this_thread::sleep_for(5ms);
        if (photo) --photosInWork;
        return lineFor(file);
    });
    Lines drop;
    auto settings = std::make_shared<BatchSettings>();
    workers.submit({"a/photo.jpg", "b/photo.png", "c/other.jpg", "d/photo.heic"}, settings, drop.deliver());
    workers.waitUntilIdle();
    EXPECT_FALSE(overlapped);
    EXPECT_EQ(drop.lines.size(), 4u);
}

class BatchWorkersOnPhotos : public ::testing::Test {
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

TEST_F(BatchWorkersOnPhotos, OneThreadTakesFilesInDropOrderAndReadsSettingsAfreshForEach)
{
    BatchWorkers workers(1);
    workers.submit(files, settings, [&](BatchOutcome outcome) {
        lines.push_back(outcome.line());
        if (lines.size() == 3) settings->setTargetText("400");
        if (lines.size() == 4) settings->setDimension(Dimension::Height);
    });
    workers.waitUntilIdle();

    ASSERT_EQ(lines.size(), 6u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rfind("\u2713  photo" + std::to_string(i) + ".png 1000x500\n", 0), 0u) << lines[i];
    }
    const fs::path resized = out.path() / "Resized";
    EXPECT_EQ(testing::imageSize(resized / "photo2.png"), (testing::PixelSize{800, 400}));
    EXPECT_EQ(testing::imageSize(resized / "photo3.png"), (testing::PixelSize{400, 200}));
    EXPECT_EQ(testing::imageSize(resized / "photo4.png"), (testing::PixelSize{800, 400}));  // height 400
}

TEST_F(BatchWorkersOnPhotos, SkipsTheRestSilentlyOnceTheSettingsOwnerIsGone)
{
    BatchWorkers workers(1);
    workers.submit(files, std::weak_ptr<const BatchSettings>(settings), [&](BatchOutcome outcome) {
        lines.push_back(outcome.line());
        if (lines.size() == 2) settings.reset();
    });
    workers.waitUntilIdle();
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(testing::listFolder(out.path() / "Resized").size(), 2u);
}

TEST_F(BatchWorkersOnPhotos, AnEmptyDropDoesNothing)
{
    BatchWorkers workers(2);
    workers.submit({}, settings, [&](BatchOutcome outcome) { lines.push_back(outcome.line()); });
    workers.waitUntilIdle();
    EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace voveriz
