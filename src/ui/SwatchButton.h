#pragma once

#include "appearance/Colour.h"

#include <QPushButton>

namespace voveriz {

// A button that is only a colour: a filled rounded rectangle with a thin border, no title,
// no bezel. The background presets and the colour well are drawn this way.
class SwatchButton : public QPushButton {
    Q_OBJECT

public:
    SwatchButton(const Colour& fill, double cornerRadius, const QColor& border, QWidget* parent = nullptr);

    const Colour& fill() const { return m_fill; }
    double cornerRadius() const { return m_cornerRadius; }
    const QColor& border() const { return m_border; }

    // Repaints with the new fill.
    void setFill(const Colour& fill);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Colour m_fill;
    double m_cornerRadius;
    QColor m_border;
};

}  // namespace voveriz
