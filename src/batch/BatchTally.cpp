#include "batch/BatchTally.h"

#include "engine/ResultLine.h"

#include <cassert>

namespace voveriz {

BatchTally::BatchTally(Listener listener)
    : listener_(std::move(listener))
{
}

void BatchTally::queued(std::size_t files)
{
    if (files == 0) return;
    std::lock_guard lock(mutex_);
    if (!counts_.working()) {
        counts_.queued = counts_.done = 0;
        counts_.progress = 0.0;
    }
    progressAtLastDrop_ = counts_.progress;
    doneAtLastDrop_ = counts_.done;
    counts_.queued += files;
    report();
}

void BatchTally::finished(const std::optional<BatchOutcome>& outcome)
{
    std::lock_guard lock(mutex_);
    assert(counts_.working());
    if (outcome && outcome->result) {
        ++counts_.handled;
        if (resultMark(outcome->result->status()) == resultMark("error")) ++counts_.failed;
    } else if (outcome) {
        ++counts_.notStarted;
    }
    ++counts_.done;
    if (counts_.working()) {
        const double share = double(counts_.done - doneAtLastDrop_) / double(counts_.queued - doneAtLastDrop_);
        counts_.progress = progressAtLastDrop_ + (1.0 - progressAtLastDrop_) * share;
    } else {
        counts_.progress = 1.0;
    }
    report();
}

BatchCounts BatchTally::counts() const
{
    std::lock_guard lock(mutex_);
    return counts_;
}

void BatchTally::report()
{
    if (listener_) listener_(counts_);
}

}  // namespace voveriz
