#include "ui/SwatchButton.h"

#include <QPainter>

namespace voveriz {

namespace {
constexpr double kBorderWidth = 1.0;
}

SwatchButton::SwatchButton(const Colour& fill, double cornerRadius, const QColor& border, QWidget* parent)
    : QPushButton(parent)
    , m_fill(fill)
    , m_cornerRadius(cornerRadius)
    , m_border(border)
{
    setFlat(true);
    setFocusPolicy(Qt::TabFocus);
}

void SwatchButton::setFill(const Colour& fill)
{
    m_fill = fill;
    update();
}

void SwatchButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The border is stroked on the edge's inner half-pixel so all of it stays inside the button.
    const double inset = kBorderWidth / 2.0;
    const QRectF edge = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    QPen pen(m_border, kBorderWidth);
    if (hasFocus()) pen.setColor(QColor(255, 255, 255, 200));
    painter.setPen(pen);
    painter.setBrush(m_fill.toQColor());
    painter.drawRoundedRect(edge, m_cornerRadius, m_cornerRadius);
}

}  // namespace voveriz
