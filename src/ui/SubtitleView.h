#pragma once

#include "appearance/Color.h"

#include <QLabel>

namespace voveriz {

// The one-line subtitle under the title: "Bulk Zedar Aredude", the application's little picture
// (20 x 20, sitting slightly below the baseline) and "Original Photos Never Changed", centred.
// Without the picture the two runs meet with four blanks between them.
class SubtitleView : public QLabel {
    Q_OBJECT

public:
    // The picture is the image at imagePath when one can be read there.
    explicit SubtitleView(const QString& imagePath, QWidget* parent = nullptr);

    // The subtitle's rich text for an image path, or without the picture for an empty path.
    static QString composedText(const QString& imagePath);

    void setTextColor(const Color& color);
};

}  // namespace voveriz
