#pragma once

#include "appearance/Color.h"

#include <QLineEdit>

namespace voveriz {

// The one-line field for the target size: centred text on a filled rounded rectangle, no frame
// and no focus ring.
class TargetField : public QLineEdit {
    Q_OBJECT

public:
    explicit TargetField(const QString& text, QWidget* parent = nullptr);

    const Color& fill() const { return m_fill; }
    double cornerRadius() const { return m_cornerRadius; }
    const Color& textColor() const { return m_textColor; }

    void setFill(const Color& fill);
    void setCornerRadius(double radius);
    void setTextColor(const Color& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Color m_fill;
    double m_cornerRadius = 0.0;
    Color m_textColor;
};

}  // namespace voveriz
