#include "app/DoneNotificationCounts.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace voveriz {
namespace {

// One thing that happens to the notifier: the batch's counts arrive, or the user leaves the
// window or comes back to it.
struct Event {
    enum Kind { Counts, Left, Back } kind;
    BatchCounts counts{};
};

// The counts as the workers report them: this stretch's files queued and done, and the totals.
Event counts(std::size_t queued, std::size_t done, std::size_t handled, std::size_t failed = 0,
             std::size_t notStarted = 0)
{
    BatchCounts counts;
    counts.queued = queued;
    counts.done = done;
    counts.handled = handled;
    counts.failed = failed;
    counts.notStarted = notStarted;
    return {Event::Counts, counts};
}
const Event left{Event::Left};
const Event back{Event::Back};

// What one notification says: photos handled, failed, not started.
using Said = std::tuple<std::size_t, std::size_t, std::size_t>;

struct Case {
    const char* name;
    std::vector<Event> events;
    std::vector<Said> said;
};

// The window is active at first, as it is when the user drops files on it.
std::vector<Said> run(const std::vector<Event>& events)
{
    DoneNotificationCounts notification;
    bool active = true;
    std::vector<Said> said;
    for (const Event& event : events) {
        if (event.kind == Event::Counts) {
            if (const auto due = notification.offer(event.counts, active)) {
                said.emplace_back(due->handled, due->failed, due->notStarted);
            }
        } else {
            active = event.kind == Event::Back;
            notification.windowStateChanged(active);
        }
    }
    return said;
}

TEST(DoneNotificationCounts, CountsEveryFileOfEachStretchThatEndedWhileTheUserWasAway)
{
    const Case cases[] = {
        {"40 dropped, 6 of them done (1 failed, 1 not started) before the user leaves",
         {counts(40, 0, 0), counts(40, 6, 5, 1, 1), left, counts(40, 7, 6, 1, 1), counts(40, 40, 39, 1, 1)},
         {Said{39, 1, 1}}},
        {"a stretch that ended while the window was active, though it began while the user was "
         "away, is not in the notification for the next one",
         {left, counts(4, 0, 0), counts(4, 1, 1), back, counts(4, 4, 3, 1), left, counts(2, 0, 3, 1),
          counts(2, 2, 5, 1)},
         {Said{2, 0, 0}}},
        {"two stretches end while the user is away, the first begun before they left: the second "
         "notification says both, each whole",
         {counts(3, 0, 0), counts(3, 1, 1), left, counts(3, 3, 3, 1), counts(2, 0, 3, 1), counts(2, 2, 4, 1, 1)},
         {Said{3, 1, 0}, Said{4, 1, 1}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.events), c.said) << c.name;
    }
}

}  // namespace
}  // namespace voveriz
