#include "ui/SubtitleView.h"

#include "ui/WidgetColours.h"

#include <QImageReader>

namespace voveriz {

namespace {

constexpr int kPictureSize = 20;

// DejaVu Sans is a wide face: at 13 px the line takes 370 px with its natural spacing, two more
// than the subtitle's 368 at the narrowest window, at every scale. Its last letter was cut off,
// or escaped only by the rounding of an X server at 1x. Letters 0.15 px closer take 7 px off the
// line, which leaves about 3 px free on either side.
constexpr double kLetterSpacing = -0.15;

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
    return QStringLiteral("<span style=\"white-space: pre; letter-spacing: %1px\">"
                          "Bulk Zedar Aredude  %2  Original Photos Never Changed</span>")
        .arg(kLetterSpacing)
        .arg(picture);
}

void SubtitleView::setTextColour(const Colour& colour)
{
    voveriz::setTextColour(*this, colour);
}

}  // namespace voveriz
