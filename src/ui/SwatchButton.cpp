#include "ui/SwatchButton.h"

#include <QPainter>

namespace voveriz {

SwatchButton::SwatchButton(const Color& fill, double cornerRadius, const QColor& border, QWidget* parent)
    : FlatButton(QString(), parent)
    , m_border(border)
{
    setFill(fill);
    setCornerRadius(cornerRadius);
}

void SwatchButton::paintEvent(QPaintEvent* event)
{
    FlatButton::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_border, 1.0));
    painter.setBrush(Qt::NoBrush);
    // Stroked on the edge's inner half-pixel, so all of the border stays inside the button.
    const QRectF edge = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.drawRoundedRect(edge, cornerRadius(), cornerRadius());
}

}  // namespace voveriz
