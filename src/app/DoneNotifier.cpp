#include "app/DoneNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QStringList>
#include <QVariantMap>

namespace voveriz {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kAppId = QStringLiteral("org.voveriz.Voveriz");
const QString kDefaultAction = QStringLiteral("default");

bool windowActive()
{
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

// What the notification says: a summary and a body (empty when nothing failed or waited).
struct DoneNotificationText {
    QString summary;
    QString body;
};

DoneNotificationText doneNotificationText(const BatchCounts& away)
{
    DoneNotificationText text;
    const std::size_t handled = away.handled;
    text.summary = handled == 0 ? QStringLiteral("No photos handled")
        : handled == 1          ? QStringLiteral("1 photo handled")
                                : QStringLiteral("%1 photos handled").arg(handled);
    QStringList body;
    if (away.failed > 0) body << QStringLiteral("%1 failed").arg(away.failed);
    if (away.notStarted > 0) {
        body << QStringLiteral("%1 not started: choose a Resized folder and a size").arg(away.notStarted);
    }
    text.body = body.join(QLatin1Char('\n'));
    return text;
}

}  // namespace

DoneNotifier::DoneNotifier(std::function<void()> bringToFront, QObject* parent)
    : DoneNotifier(std::move(bringToFront), QGuiApplication::platformName(), parent)
{
}

DoneNotifier::DoneNotifier(std::function<void()> bringToFront, const QString& platformName, QObject* parent)
    : QObject(parent)
    , m_bringToFront(std::move(bringToFront))
    , m_handsOnActivationTokens(platformName.startsWith(QLatin1String("wayland")))
{
    // Coming back starts afresh: the next notification is a new one.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this] {
        m_counts.windowStateChanged(windowActive());
        if (windowActive()) m_replacedId = 0;
    });
}

void DoneNotifier::show(const BatchCounts& counts)
{
    if (const std::optional<BatchCounts> due = m_counts.offer(counts, windowActive())) notify(*due);
}

void DoneNotifier::notify(const BatchCounts& away)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    if (!m_listening) {
        // From any sender: naming the server would make Qt look up its owner, a call that waits.
        m_listening = bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                                  SLOT(actionInvoked(uint, QString)));
        bus.connect(QString(), kPath, kInterface, QStringLiteral("ActivationToken"), this,
                    SLOT(activationToken(uint, QString)));
    }
    const DoneNotificationText text = doneNotificationText(away);
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call << QStringLiteral("Voveriz") << m_replacedId << kAppId << text.summary << text.body
         << QStringList{kDefaultAction, QStringLiteral("Show Voveriz")}
         << QVariantMap{{QStringLiteral("desktop-entry"), kAppId}} << qint32(-1);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
        // No server, or one that refused: nothing to replace next time, and nothing to say.
        const QDBusPendingReply<uint> reply = *finished;
        m_replacedId = reply.isValid() ? reply.value() : 0;
        if (m_replacedId != 0) m_shown.insert(m_replacedId);
        finished->deleteLater();
    });
}

void DoneNotifier::activationToken(uint id, const QString& token)
{
    // A Wayland compositor raises a window only with a token from the click that asked for it;
    // Qt's xdg-shell takes it from this variable at the window's next activateWindow, and clears it.
    if (m_shown.contains(id) && m_handsOnActivationTokens) {
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    }
}

void DoneNotifier::actionInvoked(uint id, const QString& action)
{
    if (m_shown.contains(id) && action == kDefaultAction && m_bringToFront) m_bringToFront();
}

}  // namespace voveriz
