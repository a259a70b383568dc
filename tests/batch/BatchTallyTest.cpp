#include "batch/BatchTally.h"
#include "batch/BatchWorkers.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

namespace voveriz {
namespace {

namespace fs = std::filesystem;

BatchOutcome engineSaid(Outcome outcome)
{
    ResizeAccount account;
    account.outcome = outcome;
    account.source = "a.jpg";
    return {ResizeResult(account), {}};
}

BatchOutcome resized()
{
    return engineSaid(Outcome::Resized);
}

TEST(BatchTally, ADropMadeMidStretchAddsToTheTotalAndTheBarNeverGoesBack)
{
    std::vector<BatchCounts> heard;
    BatchTally tally([&](const BatchCounts& counts) { heard.push_back(counts); });
    tally.queued(4);
    tally.finished(resized());
    tally.finished(resized());  // half way: 0.5
    tally.queued(6);                   // 2 of 10 done, but the bar stays at 0.5
    for (int i = 0; i < 8; ++i) tally.finished(resized());

    ASSERT_EQ(heard.size(), 12u);
    EXPECT_DOUBLE_EQ(heard[2].progress, 0.5);
    EXPECT_EQ(heard[3].queued, 10u);
    EXPECT_EQ(heard[3].remaining(), 8u);
    EXPECT_DOUBLE_EQ(heard[3].progress, 0.5);
    EXPECT_DOUBLE_EQ(heard[7].progress, 0.75);  // 4 of the 8 left: half of the other half
    for (std::size_t i = 1; i < heard.size(); ++i) EXPECT_GE(heard[i].progress, heard[i - 1].progress) << i;
    EXPECT_FALSE(heard.back().working());
    EXPECT_EQ(heard.back().progress, 1.0);

    // The next drop starts a stretch of its own; the totals run on.
    tally.queued(2);
    EXPECT_EQ(heard.back().queued, 2u);
    EXPECT_EQ(heard.back().done, 0u);
    EXPECT_EQ(heard.back().progress, 0.0);
    EXPECT_EQ(heard.back().handled, 10u);
}

TEST(BatchTally, OnlyCrossLinesFailAndSettingsLinesAreNotPhotosHandled)
{
    BatchTally tally;
    tally.queued(7);
    for (const Outcome outcome : {Outcome::Resized, Outcome::Copied, Outcome::NotAnImage, Outcome::Failed}) {
        tally.finished(engineSaid(outcome));
    }
    tally.finished(BatchOutcome{std::nullopt, "Please choose a Resized Folder first."});
    tally.finished(BatchOutcome{std::nullopt, "Enter a valid pixel number first."});
    tally.finished(std::nullopt);  // passed over once the window was gone
    const BatchCounts counts = tally.counts();
    EXPECT_EQ(counts.handled, 4u);
    EXPECT_EQ(counts.failed, 1u);
    EXPECT_EQ(counts.notStarted, 2u);
    EXPECT_EQ(counts.done, 7u);
}

TEST(BatchTally, WorkersOnTwoThreadsReportEveryFileOnceAndInOrder)
{
    // The counts come from both threads at once; each report must follow the one before it.
    // The files wait until both drops are in, so both make one stretch.
    std::promise<void> bothIn;
    const std::shared_future<void> started = bothIn.get_future().share();
    std::vector<BatchCounts> heard;
    BatchWorkers workers(
        2,
        [started](const fs::path& file, const BatchSettingsSnapshot&) {
            started.wait();
            return BatchOutcome{std::nullopt, file.string()};
        },
        [&](const BatchCounts& counts) { heard.push_back(counts); });
    auto settings = std::make_shared<BatchSettings>();
    std::vector<fs::path> files(20000, "a");
    for (std::size_t i = 0; i < files.size(); ++i) files[i] += std::to_string(i);
    workers.submit(files, settings, [](BatchOutcome) {});
    workers.submit(files, settings, [](BatchOutcome) {});
    bothIn.set_value();
    workers.waitUntilIdle();

    std::size_t finishes = 0;
    for (std::size_t i = 1; i < heard.size(); ++i) {
        if (heard[i].done == heard[i - 1].done) continue;  // the second drop joining
        ++finishes;
        ASSERT_EQ(heard[i].done, heard[i - 1].done + 1) << i;
        ASSERT_GE(heard[i].progress, heard[i - 1].progress) << i;
    }
    EXPECT_EQ(finishes, 40000u);
    EXPECT_EQ(heard.back().done, 40000u);
    EXPECT_FALSE(heard.back().working());
}

}  // namespace
}  // namespace voveriz
