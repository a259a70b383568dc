#pragma once

#include "app/DoneNotificationCounts.h"
#include "batch/BatchCounts.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

namespace voveriz {

// When the work ends while none of our windows is active, a desktop notification
// (org.freedesktop.Notifications) says how many photos that stretch of work handled, from its
// first file, and how many of them failed (DoneNotificationCounts says what is counted); clicking
// it brings the window to the front. While the window is active nothing is sent: the user sees
// the log. A later notification before the user comes back replaces the earlier one, with the
// counts of both. Without a session bus or a notification server nothing happens; no call waits
// for the bus.
class DoneNotifier : public QObject {
    Q_OBJECT

public:
    // bringToFront is what clicking the notification does.
    explicit DoneNotifier(std::function<void()> bringToFront, QObject* parent = nullptr);
    // The same for the platform of that name (as QGuiApplication::platformName() names it): on
    // Wayland the click's activation token is in XDG_ACTIVATION_TOKEN while bringToFront runs.
    DoneNotifier(std::function<void()> bringToFront, const QString& platformName, QObject* parent = nullptr);

    void show(const voveriz::BatchCounts& counts);

private slots:
    // The server's ActionInvoked signal; a slot by name, as Qt D-Bus delivers signals.
    void actionInvoked(uint id, const QString& action);
    // The server's ActivationToken signal, sent just before ActionInvoked for a click.
    void activationToken(uint id, const QString& token);

private:
    void notify(const BatchCounts& away);

    std::function<void()> m_bringToFront;
    // Whether a click's activation token is handed on: only Wayland raises windows with one.
    bool m_handsOnActivationTokens = false;
    DoneNotificationCounts m_counts;
    // The notification the next one replaces, until the window is active again; 0 for none.
    uint m_replacedId = 0;
    // Every notification the server took from us: clicking any of them brings the window up.
    QSet<uint> m_shown;
    bool m_listening = false;
};

}  // namespace voveriz
