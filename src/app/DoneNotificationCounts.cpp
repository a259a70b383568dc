#include "app/DoneNotificationCounts.h"

namespace voveriz {

void DoneNotificationCounts::windowStateChanged(bool active)
{
    if (active) m_away = BatchCounts();
}

std::optional<BatchCounts> DoneNotificationCounts::offer(const BatchCounts& counts, bool windowActive)
{
    if (windowActive) m_away = BatchCounts();
    if (counts.working()) return std::nullopt;
    // The stretch's last counts; a stretch's last counts always come, so the next one's begin here.
    const BatchCounts start = m_stretchStart;
    m_stretchStart = counts;
    if (windowActive) return std::nullopt;
    const std::size_t handled = counts.handled - start.handled;
    const std::size_t notStarted = counts.notStarted - start.notStarted;
    // A stretch whose files were all passed over without a line has nothing to add.
    if (handled + notStarted == 0) return std::nullopt;
    m_away.handled += handled;
    m_away.failed += counts.failed - start.failed;
    m_away.notStarted += notStarted;
    return m_away;
}

}  // namespace voveriz
