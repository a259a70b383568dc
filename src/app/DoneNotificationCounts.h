#pragma once

#include "batch/BatchCounts.h"

#include <optional>

namespace voveriz {

// What the end-of-work notification says, worked out from the batch's counts and whether the
// window is active as they come.
//
// A stretch of work runs from idle to idle: it begins when files are queued while none is in
// work, and ends when the last file queued is done, with every drop made meanwhile in it. Its
// counts are the totals at its end less the totals at the end of the stretch before (at the
// workers' start, for the first).
//
// A stretch that ends while the window is not active is counted whole, the files done before the
// user left included, and a notification is due. Until the window is active again, each later
// stretch that ends adds to those counts: its notification says them all. A stretch that ends
// while the window is active is never counted: the user saw it end in the log. Nothing is due
// while the window is active, nor while work runs.
class DoneNotificationCounts {
public:
    // The window became active, or stopped being so.
    void windowStateChanged(bool active);
    // The batch's latest counts: the counts the notification should say now, or none when no
    // notification is due.
    std::optional<BatchCounts> offer(const BatchCounts& counts, bool windowActive);

private:
    // The totals at the end of the last stretch, where the running one began.
    BatchCounts m_stretchStart;
    // The stretches that ended since the window was last active, added up.
    BatchCounts m_away;
};

}  // namespace voveriz
