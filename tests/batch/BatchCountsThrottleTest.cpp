#include "batch/BatchCountsThrottle.h"

#include <gtest/gtest.h>

namespace voveriz {
namespace {

using namespace std::chrono_literals;
using Clock = BatchCountsThrottle::Clock;

BatchCounts countsAt(std::size_t done, std::size_t queued)
{
    BatchCounts counts;
    counts.queued = queued;
    counts.done = done;
    return counts;
}

TEST(BatchCountsThrottle, ABurstPassesItsFirstAndItsFinalCountsAndHoldsNothingAfter)
{
    BatchCountsThrottle throttle(100ms);
    const Clock::time_point t0 = Clock::now();
    std::vector<std::size_t> passed;
    for (std::size_t done = 0; done <= 10000; ++done) {
        // 10,000 tiny files done within 50 ms.
        if (auto counts = throttle.offer(countsAt(done, 10000), t0 + std::chrono::microseconds(5 * done))) {
            passed.push_back(counts->done);
        }
    }
    EXPECT_EQ(passed, (std::vector<std::size_t>{0, 10000}));
    EXPECT_FALSE(throttle.heldUntil());
    EXPECT_FALSE(throttle.release(t0 + 1s));
}

TEST(BatchCountsThrottle, HeldCountsGoOutAsTheNewestWhenTheirIntervalEndsAtMostTenASecond)
{
    BatchCountsThrottle throttle(100ms);
    const Clock::time_point t0 = Clock::now();
    int passed = 0;
    ASSERT_TRUE(throttle.offer(countsAt(0, 5000), t0));
    ++passed;
    EXPECT_FALSE(throttle.offer(countsAt(1, 5000), t0 + 10ms));
    EXPECT_FALSE(throttle.offer(countsAt(2, 5000), t0 + 20ms));
    EXPECT_EQ(throttle.heldUntil(), t0 + 100ms);
    EXPECT_FALSE(throttle.release(t0 + 99ms));
    const auto released = throttle.release(t0 + 100ms);
    ASSERT_TRUE(released);
    ++passed;
    EXPECT_EQ(released->done, 2u);
    EXPECT_FALSE(throttle.heldUntil());

    // One file a millisecond for a second and a half, the held counts released whenever due.
    for (std::size_t done = 3; done < 1500; ++done) {
        const Clock::time_point now = t0 + 100ms + std::chrono::milliseconds(done);
        if (throttle.release(now)) ++passed;
        if (throttle.offer(countsAt(done, 5000), now)) ++passed;
    }
    EXPECT_LE(passed, 17);  // 1.6 s at 10 a second, and the first
    EXPECT_GE(passed, 15);
}

}  // namespace
}  // namespace voveriz
