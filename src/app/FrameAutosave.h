#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

namespace voveriz {

class PreferenceStore;

// Keeps a window's frame in the preference store under "VoverizMainWindow": written a moment
// after the window stops moving or resizing, and at once when it closes.
class FrameAutosave : public QObject {
    Q_OBJECT

public:
    FrameAutosave(QWidget& window, PreferenceStore& store,
                  std::chrono::milliseconds delay = std::chrono::milliseconds(400));

    // Puts the window back in the saved frame; false when none is saved or it cannot be used.
    bool restore();
    void saveNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    PreferenceStore& m_store;
    QTimer m_pending;
};

}  // namespace voveriz
