#include "batch/BatchWorkers.h"

#include "batch/BatchRun.h"
#include "engine/files/FileName.h"

#include <sched.h>

#include <algorithm>
#include <set>
#include <string>
#include <system_error>

namespace voveriz {

namespace fs = std::filesystem;

struct BatchWorkers::Drop {
    std::vector<fs::path> files;
    std::vector<std::string> bases;  // each file's name before its extension
    std::weak_ptr<const BatchSettings> settings;
    Deliver deliver;
    DropProcessor process;  // none: the workers' own
    // Under the workers' mutex:
    std::size_t nextToStart = 0;
    std::set<std::string> basesInWork;

    // Outcomes wait here until every file before them is delivered.
    std::mutex deliveryMutex;
    std::vector<std::optional<BatchOutcome>> outcomes;
    std::vector<bool> finished;
    std::size_t nextToDeliver = 0;
};

BatchWorkers::BatchWorkers(unsigned threads, FileProcessor process, BatchTally::Listener onCounts)
    : m_process(process ? std::move(process) : FileProcessor(processDroppedFile))
    , m_tally(std::move(onCounts))
{
    threads = std::max(threads, 1u);
    m_threads.reserve(threads);
    for (unsigned i = 0; i < threads; ++i) {
        try {
            m_threads.emplace_back([this] { work(); });
        } catch (const std::system_error&) {
            if (m_threads.empty()) throw;
            break;  // fewer threads than asked for: the ones running share the files
        }
    }
}

BatchWorkers::~BatchWorkers()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_threads.clear();  // joins: the files in hand finish first
}

unsigned BatchWorkers::coreCount()
{
    cpu_set_t cpus;
    if (sched_getaffinity(0, sizeof cpus, &cpus) == 0 && CPU_COUNT(&cpus) > 0) {
        return static_cast<unsigned>(CPU_COUNT(&cpus));
    }
    return std::max(std::thread::hardware_concurrency(), 1u);
}

void BatchWorkers::submit(std::vector<fs::path> files, std::weak_ptr<const BatchSettings> settings, Deliver deliver,
                          DropProcessor process)
{
    if (files.empty()) return;
    auto drop = std::make_shared<Drop>();
    drop->outcomes.resize(files.size());
    drop->finished.resize(files.size(), false);
    for (const fs::path& file : files) drop->bases.push_back(splitFileName(file.filename().string()).base);
    drop->files = std::move(files);
    drop->settings = std::move(settings);
    drop->deliver = std::move(deliver);
    drop->process = std::move(process);
    m_tally.queued(drop->files.size());
    {
        std::lock_guard lock(m_mutex);
        m_unfinished += drop->files.size();
        m_waiting.push_back(std::move(drop));
    }
    m_changed.notify_all();
}

void BatchWorkers::waitUntilIdle()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_unfinished == 0; });
}

std::optional<BatchWorkers::Pick> BatchWorkers::pickFile()
{
    // The first drop in line gives one file, then waits behind the others for its next turn. A
    // drop whose next file must wait for an earlier one of the same name keeps its place.
    for (auto it = m_waiting.begin(); it != m_waiting.end(); ++it) {
        std::shared_ptr<Drop> drop = *it;
        const std::string& base = drop->bases[drop->nextToStart];
        if (drop->basesInWork.contains(base)) continue;
        drop->basesInWork.insert(base);
        const std::size_t index = drop->nextToStart++;
        m_waiting.erase(it);
        if (drop->nextToStart < drop->files.size()) m_waiting.push_back(drop);
        return Pick{std::move(drop), index};
    }
    return std::nullopt;
}

void BatchWorkers::work()
{
    for (;;) {
        std::optional<Pick> pick;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_stopping || (pick = pickFile()); });
            if (m_stopping) return;
        }
        Drop& drop = *pick->drop;
        // The settings as they are now, for this file alone; none once their owner is gone.
        std::optional<BatchSettingsSnapshot> settings;
        if (const auto owner = drop.settings.lock()) settings = owner->snapshot();
        std::optional<BatchOutcome> outcome;
        if (settings) {
            outcome = drop.process ? drop.process(pick->index, *settings) : m_process(drop.files[pick->index], *settings);
        }
        {
            std::lock_guard lock(m_mutex);
            drop.basesInWork.erase(drop.bases[pick->index]);
        }
        m_changed.notify_all();  // a file of the same name may start now
        finish(drop, pick->index, std::move(outcome));
    }
}

void BatchWorkers::finish(Drop& drop, std::size_t index, std::optional<BatchOutcome> outcome)
{
    std::size_t done = 0;
    {
        std::lock_guard lock(drop.deliveryMutex);
        drop.outcomes[index] = std::move(outcome);
        drop.finished[index] = true;
        while (drop.nextToDeliver < drop.files.size() && drop.finished[drop.nextToDeliver]) {
            std::optional<BatchOutcome>& next = drop.outcomes[drop.nextToDeliver++];
            m_tally.finished(next);
            if (next) drop.deliver(std::move(*next));
            next.reset();
            ++done;
        }
    }
    if (done == 0) return;
    {
        std::lock_guard lock(m_mutex);
        m_unfinished -= done;
    }
    m_changed.notify_all();
}

}  // namespace voveriz
