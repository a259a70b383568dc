// bench-window: the real window, offscreen, fed one drop of photos as a user's drop arrives.
//
//   bench-window TARGET_WIDTH OUTPUT_DIR PHOTO...
//   bench-window --log-lines N
//
// Prints "seconds=S stall_ms=M lines=L workers=W": the time from the drop until the last result
// line is in the log, the longest the event loop went without turning meanwhile, the result lines
// counted and the workers the window's drops share. With --log-lines, appends N lines to the log
// and recolours it as the lightness slider does, printing "append_seconds=S recolour_seconds=R".
#include "appearance/PreferenceStore.h"
#include "batch/BatchWorkers.h"
#include "engine/EngineRuntime.h"
#include "ui/MainWindowControls.h"
#include "ui/ResizerViewController.h"

#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

namespace {

using voveriz::Color;
using voveriz::PreferenceKey;
using voveriz::PreferenceStore;
using voveriz::ResizerViewController;

// Result lines in the log: those that start with one of the three marks.
int resultLines(const QPlainTextEdit& log)
{
    int count = 0;
    for (QTextBlock block = log.document()->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (text.startsWith(QStringLiteral("\u2713  ")) || text.startsWith(QStringLiteral("-  "))
            || text.startsWith(QStringLiteral("\u2717  "))) {
            ++count;
        }
    }
    return count;
}

void drop(QWidget& root, const QStringList& files)
{
    QList<QUrl> urls;
    for (const QString& file : files) urls.push_back(QUrl::fromLocalFile(file));
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(200, 400), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&root, &enter);
    QDropEvent event(QPoint(200, 400), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&root, &event);
}

int throughput(PreferenceStore& store, const QString& target, const QString& outputDir, const QStringList& files)
{
    store.setString(PreferenceKey::TargetSize, target);
    store.setString(PreferenceKey::OutputPath, outputDir);
    ResizerViewController controller(store);
    QWidget& root = *controller.view();
    root.show();
    QCoreApplication::processEvents();  // first paint and the hint line, before anything is timed
    const QPlainTextEdit& log = *controller.controls().logView;

    QElapsedTimer clock;
    qint64 lastTurn = 0;
    qint64 longestStall = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestStall = std::max(longestStall, now - lastTurn);
        lastTurn = now;
    });
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (resultLines(log) >= files.size()) QCoreApplication::quit();
    });

    clock.start();
    heartbeat.start();
    watch.start();
    drop(root, files);
    QApplication::exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    std::printf("seconds=%.3f stall_ms=%.1f lines=%d workers=%u\n", seconds, longestStall / 1e6, resultLines(log),
                voveriz::BatchWorkers::coreCount());
    return 0;
}

int logLoad(PreferenceStore& store, int lines)
{
    ResizerViewController controller(store);
    controller.view()->show();
    QElapsedTimer clock;
    clock.start();
    const Color color = Color::grey(0.878);
    for (int i = 0; i < lines; ++i) {
        controller.log(QStringLiteral("\u2713  IMG_%1.JPG 4032x3024\n   IMG_%1.jpg 1200x900").arg(i), color);
    }
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    const double append = clock.nsecsElapsed() / 1e9;
    clock.restart();
    controller.applyTextColor(Color::grey(0.5));
    QCoreApplication::processEvents();
    const double recolour = clock.nsecsElapsed() / 1e9;
    std::printf("append_seconds=%.3f recolour_seconds=%.3f\n", append, recolour);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    voveriz::EngineRuntime runtime(argv[0]);
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QTemporaryDir config;
    PreferenceStore store(config.filePath(QStringLiteral("Voveriz.json")));

    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--log-lines")) {
        return logLoad(store, args[1].toInt());
    }
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: bench-window TARGET_WIDTH OUTPUT_DIR PHOTO... | --log-lines N\n");
        return 2;
    }
    return throughput(store, args[0], args[1], args.mid(2));
}
