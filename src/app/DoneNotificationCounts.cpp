#include "app/DoneNotificationCounts.h"

namespace voveriz {

void DoneNotificationCounts::windowStateChanged(bool)
{
    m_seen = m_latest;
}

std::optional<BatchCounts> DoneNotificationCounts::offer(const BatchCounts& counts, bool windowActive)
{
    m_latest = counts;
    if (windowActive) {
        m_seen = counts;
        return std::nullopt;
    }
    if (counts.working()) return std::nullopt;
    BatchCounts since;
    since.handled = counts.handled - m_seen.handled;
    since.failed = counts.failed - m_seen.failed;
    since.notStarted = counts.notStarted - m_seen.notStarted;
    if (since.handled + since.notStarted == 0) return std::nullopt;
    return since;
}

}  // namespace voveriz
