#include "batch/BatchCountsThrottle.h"

namespace voveriz {

BatchCountsThrottle::BatchCountsThrottle(Clock::duration interval)
    : interval_(interval)
{
}

std::optional<BatchCounts> BatchCountsThrottle::offer(const BatchCounts& counts, Clock::time_point now)
{
    if (!counts.working() || !lastPassed_ || now - *lastPassed_ >= interval_) return pass(counts, now);
    held_ = counts;
    return std::nullopt;
}

std::optional<BatchCountsThrottle::Clock::time_point> BatchCountsThrottle::heldUntil() const
{
    if (!held_) return std::nullopt;
    return *lastPassed_ + interval_;
}

std::optional<BatchCounts> BatchCountsThrottle::release(Clock::time_point now)
{
    if (!held_ || now < *heldUntil()) return std::nullopt;
    return pass(*held_, now);
}

std::optional<BatchCounts> BatchCountsThrottle::pass(const BatchCounts& counts, Clock::time_point now)
{
    held_.reset();
    lastPassed_ = now;
    return counts;
}

}  // namespace voveriz
