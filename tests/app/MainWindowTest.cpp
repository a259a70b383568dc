#include "app/MainWindow.h"
#include "appearance/PreferenceStore.h"
#include "ui/ResizerViewController.h"
#include "ui/WaitUntil.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Hands a key press to a window as the platform would, shortcuts included (exported by Qt Gui
// for test tools).
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
                                    const QString& text = QString(), bool autorep = false, ushort count = 1);

namespace voveriz {
namespace {

using testing::waitUntil;

class MainWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<MainWindow> launch()
    {
        auto window = std::make_unique<MainWindow>(store);
        window->show();
        EXPECT_TRUE(waitUntil([&] { return window->windowHandle()->isExposed(); }));
        return window;
    }

    QTemporaryDir dir;
    PreferenceStore store{dir.filePath(QStringLiteral("Voveriz.json"))};
};

TEST_F(MainWindowTest, TitledVoverizWithContentOf400By580AtLeast)
{
    const auto window = launch();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Voveriz"));
    EXPECT_EQ(window->minimumSize(), QSize(400, 580));
    EXPECT_EQ(window->centralWidget(), window->controller().view());
    EXPECT_EQ(window->centralWidget()->size(), QSize(400, 580));
    window->resize(300, 300);
    EXPECT_EQ(window->size(), QSize(400, 580));
}

TEST_F(MainWindowTest, TheOneMenuHoldsOnlyQuitVoverizOnCtrlQ)
{
    const auto window = launch();
    const QList<QAction*> menus = window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 1);
    const QList<QAction*> items = menus[0]->menu()->actions();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0], window->quitAction());
    EXPECT_EQ(items[0]->text(), QStringLiteral("Quit Voveriz"));
    EXPECT_EQ(items[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    if (!QKeySequence(QKeySequence::Quit).isEmpty()) {
        EXPECT_EQ(items[0]->shortcuts(), QKeySequence::keyBindings(QKeySequence::Quit));
    }
    // Without a global menu bar, no bar takes room from the content.
    if (!window->menuBar()->isNativeMenuBar()) {
        EXPECT_FALSE(window->menuBar()->isVisible());
    }
}

// Runs the application's event loop with the window until the application ends (its exit code)
// or five seconds pass (-1).
int runUntilQuit(const std::function<void()>& userAction)
{
    QTimer act;
    act.setSingleShot(true);
    QObject::connect(&act, &QTimer::timeout, userAction);
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    act.start(0);
    giveUp.start(5000);
    return QApplication::exec();
}

TEST_F(MainWindowTest, CtrlQEndsTheApplication)
{
    const auto window = launch();
    window->activateWindow();
    ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == window.get(); }));
    const int exitCode = runUntilQuit([&] {
        qt_handleKeyEvent(window->windowHandle(), QEvent::KeyPress, Qt::Key_Q, Qt::ControlModifier);
        qt_handleKeyEvent(window->windowHandle(), QEvent::KeyRelease, Qt::Key_Q, Qt::ControlModifier);
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheApplication)
{
    const auto window = launch();
    EXPECT_EQ(runUntilQuit([&] { window->close(); }), 0);
}

TEST_F(MainWindowTest, FirstLaunchIsCentredOnTheScreen)
{
    const auto window = launch();
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_LE((window->geometry().center() - screen.center()).manhattanLength(), 2);
}

// A frame a user can leave: wholly on the screen (the offscreen one is 800 x 800). One that sticks
// out is not given back as it was: restoring moves it onto the screen, wholly with Qt 6.8, only as
// far as its title bar with Qt 6.4.
TEST_F(MainWindowTest, FrameComesBackAtTheNextLaunch)
{
    QRect moved;
    {
        const auto window = launch();
        const QRect screen = window->screen()->availableGeometry();
        moved = QRect(screen.topLeft() + QPoint(130, 90), QSize(520, 640));
        window->setGeometry(moved);
        ASSERT_TRUE(waitUntil([&] { return window->geometry() == moved; }));
        ASSERT_TRUE(screen.contains(window->frameGeometry())) << "the screen is too small for this test's frame";
        window->close();
    }
    const auto again = launch();
    EXPECT_EQ(again->geometry(), moved);
    // What the window system is asked for, not only what the widget says.
    EXPECT_EQ(again->windowHandle()->geometry(), moved);
    EXPECT_EQ(again->centralWidget()->size(), moved.size());
}

TEST_F(MainWindowTest, FrameIsSavedSoonAfterAChangeWithoutClosing)
{
    const auto window = launch();
    const QByteArray before = store.windowFrame();
    window->setGeometry(QRect(40, 50, 480, 640));
    EXPECT_TRUE(waitUntil([&] { return !store.windowFrame().isEmpty() && store.windowFrame() != before; }));
    PreferenceStore reread(store.fileName());
    EXPECT_EQ(reread.windowFrame(), window->saveGeometry());
}

}  // namespace
}  // namespace voveriz
