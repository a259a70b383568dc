#include "app/MainWindow.h"
#include "appearance/PreferenceStore.h"
#include "engine/EngineRuntime.h"

#include <QApplication>
#include <QIcon>
#include <QThreadPool>

int main(int argc, char** argv)
{
    // libvips starts before any thread does.
    voveriz::EngineRuntime runtime(argv[0]);

    QApplication app(argc, argv);
    // The preference store lands in the per-user config folder: ~/.config/Voveriz/.
    QApplication::setOrganizationName(QStringLiteral("Voveriz"));
    QApplication::setApplicationName(QStringLiteral("Voveriz"));
    QApplication::setDesktopFileName(QStringLiteral("voveriz"));

    int status = 0;
    {
        voveriz::PreferenceStore store;
        voveriz::MainWindow window(store);
        window.show();
        window.raise();
        window.activateWindow();
        status = app.exec();
    }
    // With the window gone, a running batch skips the files it has not reached; let it finish
    // the file in hand before libvips and the application object go away.
    QThreadPool::globalInstance()->waitForDone();
    return status;
}
