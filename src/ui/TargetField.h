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

    const Colour& fill() const { return m_fill; }
    double cornerRadius() const { return m_cornerRadius; }
    const Colour& textColour() const { return m_textColour; }

    void setFill(const Colour& fill);
    void setCornerRadius(double radius);
    void setTextColour(const Colour& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Colour m_fill;
    double m_cornerRadius = 0.0;
    Colour m_textColour;
};

}  // namespace voveriz
