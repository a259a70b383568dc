#include "cli/OrderedRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <thread>
#include <vector>

using voveriz::cli::runInOrder;

namespace {

using namespace std::chrono_literals;

// A flag other threads can wait for, with a bound so a broken runner fails instead of hanging.
class Signal {
public:
    void raise()
    {
        std::lock_guard lock(mutex_);
        raised_ = true;
        changed_.notify_all();
    }
    bool waitFor(std::chrono::seconds limit)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [this] { return raised_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool raised_ = false;
};

TEST(OrderedRunner, PublishesInIndexOrderWhenLaterWorkFinishesFirst)
{
    constexpr std::size_t count = 9;
    for (unsigned jobs : { 1u, 2u, 3u, 20u }) {
        std::vector<int> results(count, -1);
        std::vector<std::size_t> published;
        std::atomic<int> inFlight { 0 };
        std::atomic<int> mostInFlight { 0 };
        runInOrder(
            count, jobs,
            [&](std::size_t i) {
                int now = ++inFlight;
                int seen = mostInFlight.load();
                while (now > seen && !mostInFlight.compare_exchange_weak(seen, now)) { }
                std::this_thread::sleep_for(std::chrono::milliseconds(2 * (count - i)));  // early work is slow
                results[i] = static_cast<int>(i * i);
                --inFlight;
            },
            [&](std::size_t i) {
                EXPECT_EQ(results[i], static_cast<int>(i * i));  // sees what its work wrote
                published.push_back(i);
            });
        std::vector<std::size_t> expected(count);
        std::iota(expected.begin(), expected.end(), 0);
        EXPECT_EQ(published, expected) << "jobs " << jobs;
        EXPECT_LE(mostInFlight.load(), static_cast<int>(std::min<std::size_t>(jobs, count))) << "jobs " << jobs;
    }
}

TEST(OrderedRunner, RunsJobsAtOnce)
{
    // The first piece of work only ends once the other two have started: a runner that did one at
    // a time would never get there.
    Signal secondStarted;
    Signal thirdStarted;
    bool sawOthers = false;
    runInOrder(
        3, 3,
        [&](std::size_t i) {
            if (i == 0) sawOthers = secondStarted.waitFor(20s) && thirdStarted.waitFor(20s);
            if (i == 1) secondStarted.raise();
            if (i == 2) thirdStarted.raise();
        },
        [](std::size_t) { });
    EXPECT_TRUE(sawOthers);
}

TEST(OrderedRunner, PublishesEachLineAsSoonAsItAndThoseBeforeItAreDone)
{
    // Work 1 waits to see line 0 published: a runner that published everything at the end would
    // leave it waiting.
    Signal firstPublished;
    bool sawFirst = false;
    std::vector<std::size_t> published;
    runInOrder(
        3, 2,
        [&](std::size_t i) {
            if (i == 1) sawFirst = firstPublished.waitFor(20s);
        },
        [&](std::size_t i) {
            published.push_back(i);
            if (i == 0) firstPublished.raise();
        });
    EXPECT_TRUE(sawFirst);
    EXPECT_EQ(published, (std::vector<std::size_t> { 0, 1, 2 }));
}

TEST(OrderedRunner, NothingToDoPublishesNothing)
{
    int calls = 0;
    runInOrder(0, 4, [&](std::size_t) { ++calls; }, [&](std::size_t) { ++calls; });
    EXPECT_EQ(calls, 0);
}

}  // namespace
