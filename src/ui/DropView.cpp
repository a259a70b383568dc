#include "ui/DropView.h"

#include <QDropEvent>
#include <QMimeData>
#include <QSysInfo>
#include <QUrl>

namespace voveriz {

namespace {

bool namesThisMachine(const QString& host)
{
    return host.isEmpty() || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0
        || host == QSysInfo::machineHostName();
}

// The path's bytes as the URL encodes them, so names in any encoding reach the file system intact.
std::filesystem::path localPath(const QUrl& url)
{
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return std::filesystem::path(bytes.toStdString());
}

}  // namespace

DropView::DropView(QWidget* parent)
    : QWidget(parent)
{
    setAcceptDrops(true);
}

void DropView::setOnDrop(DropHandler handler)
{
    m_onDrop = std::move(handler);
}

void DropView::takeFileDropsFrom(std::initializer_list<QWidget*> children)
{
    for (QWidget* child : children) {
        child->installEventFilter(this);
    }
}

DroppedFiles DropView::fileLocations(const QMimeData* data)
{
    if (!data || !data->hasUrls()) {
        return {};
    }
    return fileLocations(data->urls());
}

DroppedFiles DropView::fileLocations(const QList<QUrl>& urls)
{
    DroppedFiles files;
    for (const QUrl& url : urls) {
        if (url.isLocalFile() && namesThisMachine(url.host()) && !url.path().isEmpty()) {
            files.push_back(localPath(url));
        }
    }
    return files;
}

void DropView::dragEnterEvent(QDragEnterEvent* event)
{
    enterDrag(event);
}

void DropView::dragMoveEvent(QDragMoveEvent* event)
{
    answerDrag(event);
}

void DropView::dropEvent(QDropEvent* event)
{
    const DroppedFiles files = fileLocations(event->mimeData());
    if (files.empty()) {
        event->ignore();
        return;
    }
    deliver(event, files);
}

bool DropView::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
        enterDrag(static_cast<QDropEvent*>(event));
        return m_dragOffersFiles;  // anything else is the child's own business
    case QEvent::DragMove:
        if (!m_dragOffersFiles) return false;
        answerDrag(static_cast<QDropEvent*>(event));
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const DroppedFiles files = fileLocations(drop->mimeData());
        if (files.empty()) return false;
        deliver(drop, files);
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void DropView::enterDrag(QDropEvent* event)
{
    m_dragOffersFiles = !fileLocations(event->mimeData()).empty();
    answerDrag(event);
}

void DropView::answerDrag(QDropEvent* event)
{
    if (!m_dragOffersFiles) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DropView::deliver(QDropEvent* event, const DroppedFiles& files)
{
    if (m_onDrop) {
        m_onDrop(files);
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

}  // namespace voveriz
