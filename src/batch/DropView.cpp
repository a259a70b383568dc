#include "batch/DropView.h"

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

bool isDragEvent(const QEvent* event)
{
    const QEvent::Type type = event->type();
    return type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
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
    DroppedFiles files;
    if (!data || !data->hasUrls()) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && namesThisMachine(url.host()) && !url.path().isEmpty()) {
            files.push_back(localPath(url));
        }
    }
    return files;
}

void DropView::dragEnterEvent(QDragEnterEvent* event)
{
    answerDrag(event);
}

void DropView::dragMoveEvent(QDragMoveEvent* event)
{
    answerDrag(event);
}

void DropView::dropEvent(QDropEvent* event)
{
    takeDrop(event);
}

bool DropView::eventFilter(QObject* watched, QEvent* event)
{
    if (!isDragEvent(event)) {
        return QWidget::eventFilter(watched, event);
    }
    auto* drag = static_cast<QDropEvent*>(event);
    if (fileLocations(drag->mimeData()).empty()) {
        return false;  // not ours: the child handles it as it always would
    }
    if (event->type() == QEvent::Drop) {
        takeDrop(drag);
    } else {
        answerDrag(drag);
    }
    return true;
}

void DropView::answerDrag(QDropEvent* event)
{
    if (fileLocations(event->mimeData()).empty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DropView::takeDrop(QDropEvent* event)
{
    const DroppedFiles files = fileLocations(event->mimeData());
    if (files.empty()) {
        event->ignore();
        return;
    }
    if (m_onDrop) {
        m_onDrop(files);
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

}  // namespace voveriz
