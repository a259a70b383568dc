#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "appearance/PreferenceStore.h"
#include "engine/EngineRuntime.h"
#include "ui/AccessiblePopups.h"
#include "ui/ResizerViewController.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QTimer>

#include <cstdio>

namespace {

voveriz::DroppedFiles droppedFiles(const QStringList& paths)
{
    voveriz::DroppedFiles files;
    for (const QString& path : paths) {
        files.emplace_back(QFile::encodeName(path).toStdString());
    }
    return files;
}

}  // namespace

int main(int argc, char** argv)
{
    // libvips starts before any thread does.
    voveriz::EngineRuntime runtime(argv[0]);

    // The preference store lands in the per-user config folder: ~/.config/Voveriz/.
    QApplication::setOrganizationName(QStringLiteral("Voveriz"));
    QApplication::setApplicationName(QStringLiteral("Voveriz"));
    QApplication::setApplicationVersion(QStringLiteral(VOVERIZ_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.voveriz.Voveriz"));

    if (voveriz::asksOnlyForText(argc, argv)) {
        QCoreApplication app(argc, argv);
        return voveriz::printCommandLineText(voveriz::parseCommandLine(app.arguments(), QDir::current()));
    }

    // Before the application object: its accessible interface is made once, on first use.
    voveriz::installAccessiblePopups();
    QApplication app(argc, argv);
    const voveriz::CommandLine commandLine = voveriz::parseCommandLine(app.arguments(), QDir::current());
    if (!commandLine.startsWindow()) {
        return voveriz::printCommandLineText(commandLine);
    }
    voveriz::SingleInstance instance;
    switch (instance.start(commandLine.paths)) {
    case voveriz::SingleInstance::Outcome::HandedOver:
        return 0;
    case voveriz::SingleInstance::Outcome::NoAnswer:
        std::fprintf(stderr, "voveriz: %s\n", qPrintable(instance.problem()));
        return 1;
    case voveriz::SingleInstance::Outcome::Alone:
        std::fprintf(stderr, "voveriz: %s; a later launch opens another window\n", qPrintable(instance.problem()));
        break;
    case voveriz::SingleInstance::Outcome::Listening:
        break;
    }

    int status = 0;
    {
        voveriz::PreferenceStore store;
        voveriz::MainWindow window(store);
        QObject::connect(&instance, &voveriz::SingleInstance::opened, &window, [&window](const QStringList& paths) {
            window.bringToFront();
            if (!paths.isEmpty()) window.controller().handleDrop(droppedFiles(paths));
        });
        window.bringToFront();
        if (!commandLine.paths.isEmpty()) {
            // Once the window shows, the paths from the command line are one drop on it.
            QTimer::singleShot(0, &window, [&window, &commandLine] {
                window.controller().handleDrop(droppedFiles(commandLine.paths));
            });
        }
        // Closing the window ends the loop; its controller, going with it, lets the files in hand
        // finish and skips the rest before libvips and the application object go away.
        status = app.exec();
    }
    return status;
}
