#pragma once

#include <QMainWindow>

#include <memory>

class QAction;

namespace voveriz {

class FrameAutosave;
class PreferenceStore;
class ResizerViewController;

// The one window: titled "Voveriz", its content the controller's root view of 400 x 580, no
// smaller than that, and back where it was left at the last launch (centred the first time).
// Its one menu holds only "Quit Voveriz" (Ctrl+Q). That menu shows in the desktop's global menu
// bar where there is one; elsewhere no menu bar takes room from the content, and the shortcut
// still works. Closing the window ends the application. While files are in work the desktop's
// taskbar shows how far they have got, and a notification tells of the end when the user is elsewhere.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(PreferenceStore& store, QWidget* parent = nullptr);
    ~MainWindow() override;

    ResizerViewController& controller() const { return *m_controller; }
    QAction* quitAction() const { return m_quitAction; }

    // Shows the window in front of the others, as far as the platform lets a program do so.
    void bringToFront();

private:
    void buildMenu();
    void restoreOrCentre();
    void showProgressOnTheDesktop();

    std::unique_ptr<ResizerViewController> m_controller;
    QAction* m_quitAction = nullptr;
    FrameAutosave* m_frameAutosave = nullptr;
};

}  // namespace voveriz
