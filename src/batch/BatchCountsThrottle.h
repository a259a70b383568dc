#pragma once

#include "batch/BatchCounts.h"

#include <chrono>
#include <optional>

namespace voveriz {

// Thins a stream of counts to at most one per interval. Counts that come too soon are held, the
// newest replacing the one held before, and go out when the interval is over; the counts that end
// a stretch of work go out at once and replace whatever was held. So the last counts let through
// are always the latest ones, and a stretch always ends with its final counts.
class BatchCountsThrottle {
public:
    using Clock = std::chrono::steady_clock;

    explicit BatchCountsThrottle(Clock::duration interval);

    // The counts to pass on now, if any.
    std::optional<BatchCounts> offer(const BatchCounts& counts, Clock::time_point now);
    // When the counts held back may go; none when nothing is held.
    std::optional<Clock::time_point> heldUntil() const;
    // The counts held back, once their time has come.
    std::optional<BatchCounts> release(Clock::time_point now);

private:
    std::optional<BatchCounts> pass(const BatchCounts& counts, Clock::time_point now);

    Clock::duration m_interval;
    std::optional<Clock::time_point> m_lastPassed;
    std::optional<BatchCounts> m_held;
};

}  // namespace voveriz
