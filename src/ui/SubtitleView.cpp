#include "ui/SubtitleView.h"

#include "ui/WidgetColours.h"

#include <QImageReader>

namespace voveriz {

namespace {

constexpr int kPictureSize = 20;

}  // namespace

SubtitleView::SubtitleView(const QString& imagePath, QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::RichText);
    setAlignment(Qt::AlignCenter);
    setTextInteractionFlags(Qt::NoTextInteraction);
    const bool readable = !imagePath.isEmpty() && QImageReader(imagePath).canRead();
    setText(composedText(readable ? imagePath : QString()));
}

QString SubtitleView::composedText(const QString& imagePath)
{
    QString picture;
    if (!imagePath.isEmpty()) {
        picture = QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%2\" style=\"vertical-align: bottom\">")
                      .arg(imagePath.toHtmlEscaped())
                      .arg(kPictureSize);
    }
    return QStringLiteral("<span style=\"white-space: pre\">Bulk Zedar Aredude  %1  Original Photos Never Changed</span>")
        .arg(picture);
}

void SubtitleView::setTextColour(const Colour& colour)
{
    voveriz::setTextColour(*this, colour);
}

}  // namespace voveriz
