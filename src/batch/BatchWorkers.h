#pragma once

#include "batch/BatchOutcome.h"
#include "batch/BatchSettings.h"
#include "batch/BatchTally.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace voveriz {

// One set of worker threads shared by every drop: at most threadCount() files are in work at
// once, whatever the number of drops. Drops take turns file by file, so a drop made while
// another runs starts at once instead of waiting behind its thousand files. Each file reads the
// settings when a worker reaches it; each drop's outcomes are delivered in its file order.
// Two files of one drop that could want the same output name (the same name before the
// extension, e.g. a/photo.jpg and b/photo.heic) never run at once, so the earlier file takes
// "photo.jpg" and the later "photo (1).jpg", as when files run one at a time.
class BatchWorkers {
public:
    using FileProcessor = std::function<BatchOutcome(const std::filesystem::path&, const BatchSettingsSnapshot&)>;
    using Deliver = std::function<void(BatchOutcome)>;
    // Turns the index-th file of one drop into its outcome, in place of the workers' processor.
    using DropProcessor = std::function<BatchOutcome(std::size_t index, const BatchSettingsSnapshot&)>;

    // process turns one file into its outcome: processDroppedFile unless a test holds files back.
    // onCounts hears every change of the counts over all drops, on whichever thread made it, one
    // call at a time and in order (BatchTally); it must not call back into the workers.
    explicit BatchWorkers(unsigned threads = coreCount(), FileProcessor process = {},
                          BatchTally::Listener onCounts = {});
    // The files in hand finish; files not yet started are dropped without a word.
    ~BatchWorkers();
    BatchWorkers(const BatchWorkers&) = delete;
    BatchWorkers& operator=(const BatchWorkers&) = delete;

    // Queues one drop and returns at once. deliver is called on a worker thread, once per file
    // in file order and never twice at once for one drop. Once the settings' owner is gone, the
    // files not yet started are skipped without an outcome. A drop whose files need more than their
    // paths (voveriz-cli's walk of a folder tree) brings its own process.
    void submit(std::vector<std::filesystem::path> files, std::weak_ptr<const BatchSettings> settings,
                Deliver deliver, DropProcessor process = {});

    // Blocks until every file submitted so far has been delivered or skipped.
    void waitUntilIdle();

    unsigned threadCount() const { return static_cast<unsigned>(m_threads.size()); }

    // The cores this process may run on (at least 1).
    static unsigned coreCount();

private:
    struct Drop;
    struct Pick {
        std::shared_ptr<Drop> drop;
        std::size_t index = 0;
    };
    // Under m_mutex: the next file that may start now, taking drops in turn; none if no file may.
    std::optional<Pick> pickFile();
    void work();
    void finish(Drop& drop, std::size_t index, std::optional<BatchOutcome> outcome);

    FileProcessor m_process;
    BatchTally m_tally;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::shared_ptr<Drop>> m_waiting;  // drops with files not yet started, in turn
    std::size_t m_unfinished = 0;                 // files submitted and not yet delivered or skipped
    bool m_stopping = false;
    std::vector<std::jthread> m_threads;
};

}  // namespace voveriz
