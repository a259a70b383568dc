// Pictures of the settings popover, both tabs, from an empty preference store:
//   voveriz-popover-shot OUT_DIR          writes OUT_DIR/settings-background.png and settings-text.png
//   voveriz-popover-shot --window         a stand-in window with a gear that opens the popover
// Run it with a temporary XDG_CONFIG_HOME: the popover writes the store when it is used.
#include "appearance/PreferenceStore.h"
#include "appearance/SystemFonts.h"
#include "ui/FlatButton.h"
#include "ui/SettingsPopover.h"
#include "ui/SettingsViewController.h"
#include "ui/WidgetColors.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTextStream>

#include <cstdio>

using namespace voveriz;

namespace {

int writePictures(PreferenceStore& store, const QString& outDir)
{
    SettingsPopover popover(store);
    popover.show();
    QApplication::processEvents();
    QTabWidget& tabs = *popover.content().tabView();
    const struct {
        int tab;
        const char* file;
    } shots[] = {{0, "settings-background.png"}, {1, "settings-text.png"}};
    for (const auto& shot : shots) {
        tabs.setCurrentIndex(shot.tab);
        QApplication::processEvents();
        const QString path = QDir(outDir).filePath(QString::fromLatin1(shot.file));
        if (!popover.grab().save(path)) {
            std::fprintf(stderr, "voveriz-popover-shot: cannot write %s\n", qPrintable(path));
            return 1;
        }
        QTextStream(stdout) << "screenshot: " << path << "\n";
    }
    return 0;
}

int showStandInWindow(PreferenceStore& store)
{
    QWidget window;
    window.setWindowTitle(QStringLiteral("Voveriz popover"));
    window.resize(400, 580);
    setBackgroundFill(window, Color::fromHex(QStringLiteral("#111111")));
    auto* gear = new FlatButton(QString(QChar(0x2699)), &window);
    gear->setFont(systemFont(16));
    gear->setTitleTint(Color::fromHex(QStringLiteral("#aaaaaa")));
    gear->setGeometry(400 - 36, 8, 24, 24);

    auto* popover = new SettingsPopover(store, &window);
    popover->content().onColorChanged = [&window](const Color& c) { setBackgroundFill(window, c); };
    QObject::connect(gear, &FlatButton::clicked, popover, [popover, gear] { popover->showAnchoredTo(gear); });
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    PreferenceStore store;
    const QStringList args = QApplication::arguments();
    if (args.size() == 2 && args[1] == QStringLiteral("--window")) return showStandInWindow(store);
    if (args.size() == 2) return writePictures(store, args[1]);
    std::fprintf(stderr, "usage: voveriz-popover-shot OUT_DIR | --window\n");
    return 2;
}
