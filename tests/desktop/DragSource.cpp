// A stand-in for a file manager in the desktop tests: a small window titled
// "Voveriz drag source" that starts dragging the files (or URLs) given on its command line, as
// text/uri-list in the given order, as soon as a mouse button goes down on it. It prints
// "drag ended: N" (the drop action Qt reports) when the drag is over. It stays up after that:
// the target reads the dragged data from this process when the drop lands, possibly after the
// drag has ended here, so the tests end it themselves (or it quits after half a minute).
//
// With --copy first it is a file manager's copy instead (Ctrl+C on the files): the files go to
// the clipboard as text/uri-list, as x-special/gnome-copied-files and as their paths in plain
// text, as GNOME Files offers them, and it prints "copied". It holds the clipboard until ended.
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

class DragSourceWindow : public QWidget {
public:
    explicit DragSourceWindow(QList<QUrl> urls)
        : m_urls(std::move(urls))
    {
        setWindowTitle(QStringLiteral("Voveriz drag source"));
        setFixedSize(120, 120);
        setAutoFillBackground(true);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, QColor(0x33, 0x66, 0x99));
        setPalette(palette);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton || m_dragging) return;
        m_dragging = true;
        auto* data = new QMimeData;
        data->setUrls(m_urls);
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        const Qt::DropAction action = drag->exec(Qt::CopyAction);
        std::printf("drag ended: %d\n", int(action));
        std::fflush(stdout);
        QTimer::singleShot(30000, qApp, &QApplication::quit);
    }

private:
    QList<QUrl> m_urls;
    bool m_dragging = false;
};

// The clipboard as a file manager fills it on Ctrl+C.
void copyToClipboard(const QList<QUrl>& urls)
{
    auto* data = new QMimeData;
    data->setUrls(urls);
    QByteArray gnome = "copy";
    QStringList paths;
    for (const QUrl& url : urls) {
        gnome += "\n" + url.toEncoded();
        paths.append(url.isLocalFile() ? url.toLocalFile() : url.toString());
    }
    data->setData(QStringLiteral("x-special/gnome-copied-files"), gnome);
    data->setText(paths.join(QLatin1Char('\n')));
    QGuiApplication::clipboard()->setMimeData(data);
    std::printf("copied\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool copy = argc > 1 && QByteArray(argv[1]) == "--copy";
    QList<QUrl> urls;
    // Paths become file URLs; anything with a scheme ("https://...") is offered as it is.
    for (int i = copy ? 2 : 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        urls.append(argument.contains(QLatin1String("://")) ? QUrl(argument) : QUrl::fromLocalFile(argument));
    }
    if (copy) {
        copyToClipboard(urls);
        return app.exec();
    }
    DragSourceWindow window(urls);
    window.show();
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
