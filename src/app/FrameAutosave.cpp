#include "app/FrameAutosave.h"

#include "appearance/PreferenceStore.h"

#include <QEvent>
#include <QWidget>

namespace voveriz {

FrameAutosave::FrameAutosave(QWidget& window, PreferenceStore& store, std::chrono::milliseconds delay)
    : QObject(&window)
    , m_window(window)
    , m_store(store)
{
    m_pending.setSingleShot(true);
    m_pending.setInterval(delay);
    connect(&m_pending, &QTimer::timeout, this, &FrameAutosave::saveNow);
    m_window.installEventFilter(this);
}

bool FrameAutosave::restore()
{
    const QByteArray frame = m_store.windowFrame();
    return !frame.isEmpty() && m_window.restoreGeometry(frame);
}

void FrameAutosave::saveNow()
{
    m_pending.stop();
    m_store.setWindowFrame(m_window.saveGeometry());
}

bool FrameAutosave::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window && m_window.isVisible()) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            m_pending.start();
            break;
        case QEvent::Close:
            saveNow();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace voveriz
