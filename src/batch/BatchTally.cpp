#include "batch/BatchTally.h"

#include <cassert>

namespace voveriz {

BatchTally::BatchTally(Listener listener)
    : m_listener(std::move(listener))
{
}

void BatchTally::queued(std::size_t files)
{
    if (files == 0) return;
    std::lock_guard lock(m_mutex);
    if (!m_counts.working()) {
        m_counts.queued = m_counts.done = 0;
        m_counts.progress = 0.0;
    }
    m_progressAtLastDrop = m_counts.progress;
    m_doneAtLastDrop = m_counts.done;
    m_counts.queued += files;
    report();
}

void BatchTally::finished(const std::optional<BatchOutcome>& outcome)
{
    std::lock_guard lock(m_mutex);
    assert(m_counts.working());
    if (outcome && outcome->result) {
        ++m_counts.handled;
        if (outcome->result->outcome() == Outcome::Failed) ++m_counts.failed;
    } else if (outcome) {
        ++m_counts.notStarted;
    }
    ++m_counts.done;
    if (m_counts.working()) {
        const double share = double(m_counts.done - m_doneAtLastDrop) / double(m_counts.queued - m_doneAtLastDrop);
        m_counts.progress = m_progressAtLastDrop + (1.0 - m_progressAtLastDrop) * share;
    } else {
        m_counts.progress = 1.0;
    }
    report();
}

BatchCounts BatchTally::counts() const
{
    std::lock_guard lock(m_mutex);
    return m_counts;
}

void BatchTally::report()
{
    if (m_listener) m_listener(m_counts);
}

}  // namespace voveriz
