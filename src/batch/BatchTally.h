#pragma once

#include "batch/BatchCounts.h"
#include "batch/BatchOutcome.h"

#include <functional>
#include <mutex>
#include <optional>

namespace voveriz {

// Keeps the workers' counts and reports each change to a listener. Any thread may call it; the
// listener is called with the lock held, so its calls come one at a time and in the order of the
// changes, and the progress it sees never goes back within a stretch of work.
class BatchTally {
public:
    using Listener = std::function<void(const BatchCounts&)>;

    explicit BatchTally(Listener listener = {});

    // Files about to enter work; before any of them can be done.
    void queued(std::size_t files);
    // One file done: its outcome, or none when it was passed over without a line.
    void finished(const std::optional<BatchOutcome>& outcome);

    BatchCounts counts() const;

private:
    void report();

    Listener m_listener;
    mutable std::mutex m_mutex;
    BatchCounts m_counts;
    // Where the stretch stood when its last drop came: that share of the bar stays, and the files
    // still to do, old and new, share the rest.
    double m_progressAtLastDrop = 0.0;
    std::size_t m_doneAtLastDrop = 0;
};

}  // namespace voveriz
