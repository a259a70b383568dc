#include "app/MainWindow.h"

#include "app/DoneNotifier.h"
#include "app/FrameAutosave.h"
#include "app/LauncherEntry.h"
#include "ui/MainWindowBuilder.h"
#include "ui/ResizerViewController.h"
#include "ui/UiResources.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>

namespace voveriz {

namespace {

constexpr QSize kContentSize(400, 580);

}  // namespace

MainWindow::MainWindow(PreferenceStore& store, QWidget* parent)
    : QMainWindow(parent)
    , m_controller(std::make_unique<ResizerViewController>(store))
{
    buildMenu();
    setWindowTitle(QStringLiteral("Voveriz"));
    initUiResources();
    setWindowIcon(QIcon(QString::fromLatin1(kFaviconPath)));
    setCentralWidget(m_controller->view());
    resize(kContentSize);
    setMinimumSize(kContentSize);
    m_frameAutosave = new FrameAutosave(*this, store);
    restoreOrCentre();
    showProgressOnTheDesktop();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenu()
{
    m_quitAction = new QAction(QStringLiteral("Quit Voveriz"), this);
    // The platform's own quit keys; a platform theme without any (a Windows-like key scheme)
    // still gets Ctrl+Q.
    QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    if (quitKeys.isEmpty()) quitKeys.append(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_quitAction->setShortcuts(quitKeys);
    m_quitAction->setShortcutContext(Qt::ApplicationShortcut);
    m_quitAction->setMenuRole(QAction::QuitRole);
    connect(m_quitAction, &QAction::triggered, this, &QWidget::close);
    // On the window itself too, so Ctrl+Q works when the menu bar is not shown.
    addAction(m_quitAction);

    QMenu* applicationMenu = menuBar()->addMenu(QStringLiteral("Voveriz"));
    applicationMenu->addAction(m_quitAction);
    if (!menuBar()->isNativeMenuBar()) {
        menuBar()->hide();
    }
}

void MainWindow::showProgressOnTheDesktop()
{
    auto* notifier = new DoneNotifier([this] { bringToFront(); }, this);
    auto* launcherEntry = new LauncherEntry(this);
    connect(m_controller.get(), &ResizerViewController::batchCountsChanged, notifier, &DoneNotifier::show);
    connect(m_controller.get(), &ResizerViewController::batchCountsChanged, launcherEntry, &LauncherEntry::show);
}

void MainWindow::bringToFront()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void MainWindow::restoreOrCentre()
{
    if (m_frameAutosave->restore()) {
        return;
    }
    const QScreen* screen = this->screen();
    if (screen) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
    }
}

}  // namespace voveriz
