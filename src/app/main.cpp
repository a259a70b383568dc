#include "app/MainWindow.h"
#include "appearance/PreferenceStore.h"
#include "engine/EngineRuntime.h"

#include <QApplication>
#include <QIcon>

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
        // Closing the window ends the loop; its controller, going with it, lets the files in hand
        // finish and skips the rest before libvips and the application object go away.
        status = app.exec();
    }
    return status;
}
