#pragma once

#include "batch/BatchCounts.h"
#include "batch/BatchCountsThrottle.h"

#include <QObject>
#include <QTimer>

namespace voveriz {

// The window's entry in the taskbar or dock, through the com.canonical.Unity.LauncherEntry signal
// that KDE Plasma, Ubuntu's dock, Dash to Dock and elementary's dock read: while files are in
// work, a bar with the share done over every file queued and a badge with the files still to do;
// when the work ends, neither. At most ten updates a second go out, the last always the true one.
// Without a session bus it does nothing.
class LauncherEntry : public QObject {
    Q_OBJECT

public:
    explicit LauncherEntry(QObject* parent = nullptr);
    // A window closed while files are in work leaves no bar behind on a dock that keeps entries.
    ~LauncherEntry() override;

    void show(const voveriz::BatchCounts& counts);

private:
    void releaseHeld();
    void send(const BatchCounts& counts);

    BatchCountsThrottle m_throttle;
    QTimer m_heldTimer;
    bool m_showing = false;  // the last update sent showed the bar
};

}  // namespace voveriz
