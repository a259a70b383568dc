#include "app/LauncherEntry.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

namespace voveriz {

namespace {

using namespace std::chrono_literals;
using Clock = BatchCountsThrottle::Clock;

// The desktop entry we ship, data/org.voveriz.Voveriz.desktop.in.
const QString kAppUri = QStringLiteral("application://org.voveriz.Voveriz.desktop");
const QString kPath = QStringLiteral("/org/voveriz/Voveriz/LauncherEntry");

}  // namespace

LauncherEntry::LauncherEntry(QObject* parent)
    : QObject(parent)
    , m_throttle(100ms)
{
    m_heldTimer.setSingleShot(true);
    m_heldTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_heldTimer, &QTimer::timeout, this, &LauncherEntry::releaseHeld);
}

LauncherEntry::~LauncherEntry()
{
    if (m_showing) send(BatchCounts{});
}

void LauncherEntry::show(const BatchCounts& counts)
{
    if (const std::optional<BatchCounts> now = m_throttle.offer(counts, Clock::now())) send(*now);
    releaseHeld();
}

void LauncherEntry::releaseHeld()
{
    if (const std::optional<BatchCounts> held = m_throttle.release(Clock::now())) send(*held);
    const std::optional<Clock::time_point> due = m_throttle.heldUntil();
    if (!due) {
        m_heldTimer.stop();
    } else if (!m_heldTimer.isActive()) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - Clock::now());
        m_heldTimer.start(std::max(wait, 0ms));
    }
}

void LauncherEntry::send(const BatchCounts& counts)
{
    // On X11 and Wayland, Qt's accessibility bridge has opened the session bus at start-up, or
    // found there is none, which Qt remembers: this neither waits for a connection nor says anything.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    m_showing = counts.working();
    QVariantMap properties;
    properties.insert(QStringLiteral("progress-visible"), counts.working());
    properties.insert(QStringLiteral("count-visible"), counts.working());
    if (counts.working()) {
        properties.insert(QStringLiteral("progress"), counts.progress);
        properties.insert(QStringLiteral("count"), qint64(counts.remaining()));
    }
    QDBusMessage update = QDBusMessage::createSignal(kPath, QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                                     QStringLiteral("Update"));
    update << kAppUri << properties;
    bus.send(update);
}

}  // namespace voveriz
