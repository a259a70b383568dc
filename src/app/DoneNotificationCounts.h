#pragma once

#include "batch/BatchCounts.h"

#include <optional>

namespace voveriz {

// What the end-of-work notification says, worked out from the batch's counts and whether the
// window is active as they come. Nothing is due while the window is active, nor while work runs.
class DoneNotificationCounts {
public:
    // The window became active, or stopped being so.
    void windowStateChanged(bool active);
    // The batch's latest counts: the counts the notification should say now, or none when no
    // notification is due.
    std::optional<BatchCounts> offer(const BatchCounts& counts, bool windowActive);

private:
    BatchCounts m_latest;
    // The totals when the window was last active.
    BatchCounts m_seen;
};

}  // namespace voveriz
