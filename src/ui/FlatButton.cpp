#include "ui/FlatButton.h"

#include <QPaintEvent>
#include <QPainter>

namespace voveriz {

FlatButton::FlatButton(const QString& title, QWidget* parent)
    : QPushButton(title, parent)
{
    setFlat(true);
    setCursor(Qt::ArrowCursor);
}

void FlatButton::setFill(const std::optional<Colour>& fill)
{
    m_fill = fill;
    update();
}

void FlatButton::setCornerRadius(double radius)
{
    m_cornerRadius = radius;
    update();
}

void FlatButton::setTitleTint(const Colour& tint)
{
    m_titleTint = tint;
    update();
}

void FlatButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_fill) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_fill->toQColor());
        painter.drawRoundedRect(QRectF(rect()), m_cornerRadius, m_cornerRadius);
    }
    painter.setPen(m_titleTint.toQColor());
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}

}  // namespace voveriz
