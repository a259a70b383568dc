#include "ui/SubtitleView.h"

#include "ui/WidgetColors.h"

#include <QImageReader>

namespace voveriz {

namespace {

constexpr int kPictureSize = 20;

// DejaVu Sans is a wide face: at 13 px the line takes 370 px with its natural spacing, two more
// than the subtitle's 368 at the narrowest window, at every scale. Its last letter was cut off,
// or escaped only by the rounding of an X server at 1x. Letters 0.15 px closer take 7 px off the
// line, which leaves about 3 px free on either side.
constexpr double kLetterSpacing = -0.15;

// The words before and after the picture.
const char* const kBefore = "Bulk Zedar Aredude  ";
const char* const kAfter = "  Original Photos Never Changed";

}  // namespace

SubtitleView::SubtitleView(const QString& imagePath, QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::RichText);
    setAlignment(Qt::AlignCenter);
    setTextInteractionFlags(Qt::NoTextInteraction);
    const bool readable = !imagePath.isEmpty() && QImageReader(imagePath).canRead();
    setText(composedText(readable ? imagePath : QString()));
    // Screen readers get the words alone: read from the rich text, the picture would be an
    // object replacement character.
    setAccessibleName(QString::fromUtf8(kBefore) + QString::fromUtf8(kAfter));
}

QString SubtitleView::composedText(const QString& imagePath)
{
    QString picture;
    if (!imagePath.isEmpty()) {
        picture = QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%2\" style=\"vertical-align: bottom\">")
                      .arg(imagePath.toHtmlEscaped())
                      .arg(kPictureSize);
    }
    return QStringLiteral("<span style=\"white-space: pre; letter-spacing: %1px\">%2%3%4</span>")
        .arg(kLetterSpacing)
        .arg(QString::fromUtf8(kBefore), picture, QString::fromUtf8(kAfter));
}

void SubtitleView::setTextColor(const Color& color)
{
    voveriz::setTextColor(*this, color);
}

}  // namespace voveriz
