#include "ui/ClipboardFiles.h"

#include <QMimeData>
#include <QUrl>

namespace voveriz {

namespace {

const char* const kGnomeCopiedFiles = "x-special/gnome-copied-files";

// "copy" or "cut" on the first line, then a location on each line; blank lines and line ends
// of either kind are allowed. Anything else under that type holds no files.
QList<QUrl> gnomeCopiedFiles(QByteArray bytes)
{
    if (bytes.endsWith('\0')) bytes.chop(1);  // some programs end the text with a NUL
    const QList<QByteArray> lines = bytes.split('\n');
    const QByteArray action = lines.value(0).trimmed();
    if (action != "copy" && action != "cut") return {};
    QList<QUrl> urls;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (!line.isEmpty()) urls.append(QUrl::fromEncoded(line));
    }
    return urls;
}

}  // namespace

DroppedFiles clipboardFileLocations(const QMimeData* data)
{
    if (!data) return {};
    DroppedFiles files = DropView::fileLocations(data);
    if (files.empty() && data->hasFormat(QString::fromLatin1(kGnomeCopiedFiles))) {
        files = DropView::fileLocations(gnomeCopiedFiles(data->data(QString::fromLatin1(kGnomeCopiedFiles))));
    }
    return files;
}

}  // namespace voveriz
