#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

namespace voveriz::testing {

// Runs the event loop until the condition holds or the deadline passes; answers the condition.
template <typename Condition>
bool waitUntil(Condition condition, int timeoutMs = 5000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Lets every event already posted be handled: the next turn of the event loop.
inline void nextTurn()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

}  // namespace voveriz::testing
