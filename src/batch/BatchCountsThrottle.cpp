#include "batch/BatchCountsThrottle.h"

namespace voveriz {

BatchCountsThrottle::BatchCountsThrottle(Clock::duration interval)
    : m_interval(interval)
{
}

std::optional<BatchCounts> BatchCountsThrottle::offer(const BatchCounts& counts, Clock::time_point now)
{
    if (!counts.working() || !m_lastPassed || now - *m_lastPassed >= m_interval) return pass(counts, now);
    m_held = counts;
    return std::nullopt;
}

std::optional<BatchCountsThrottle::Clock::time_point> BatchCountsThrottle::heldUntil() const
{
    if (!m_held) return std::nullopt;
    return *m_lastPassed + m_interval;
}

std::optional<BatchCounts> BatchCountsThrottle::release(Clock::time_point now)
{
    if (!m_held || now < *heldUntil()) return std::nullopt;
    return pass(*m_held, now);
}

std::optional<BatchCounts> BatchCountsThrottle::pass(const BatchCounts& counts, Clock::time_point now)
{
    m_held.reset();
    m_lastPassed = now;
    return counts;
}

}  // namespace voveriz
