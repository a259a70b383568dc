#include "cli/OrderedRunner.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace voveriz::cli {

void runInOrder(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& work,
                const std::function<void(std::size_t)>& publish)
{
    std::atomic<std::size_t> nextToStart { 0 };
    std::mutex mutex;
    std::vector<bool> finished(count, false);
    std::size_t nextToPublish = 0;

    // Whoever finishes a piece of work publishes every finished one that is next in line.
    auto worker = [&] {
        for (std::size_t i = nextToStart++; i < count; i = nextToStart++) {
            work(i);
            std::lock_guard lock(mutex);
            finished[i] = true;
            while (nextToPublish < count && finished[nextToPublish]) {
                publish(nextToPublish++);
            }
        }
    };

    std::vector<std::jthread> helpers;
    std::size_t helperCount = std::min<std::size_t>(jobs, count);
    helperCount = helperCount > 0 ? helperCount - 1 : 0;
    for (std::size_t k = 0; k < helperCount; ++k) {
        try {
            helpers.emplace_back(worker);
        } catch (const std::system_error&) {
            break;  // fewer threads than asked for: the ones running share the rest
        }
    }
    worker();
}

}  // namespace voveriz::cli
