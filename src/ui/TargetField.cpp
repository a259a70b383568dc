#include "ui/TargetField.h"

#include <QPainter>

namespace voveriz {

TargetField::TargetField(const QString& text, QWidget* parent)
    : QLineEdit(text, parent)
{
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    setPalette(palette);
}

void TargetField::setFill(const Color& fill)
{
    m_fill = fill;
    update();
}

void TargetField::setCornerRadius(double radius)
{
    m_cornerRadius = radius;
    update();
}

void TargetField::setTextColor(const Color& color)
{
    m_textColor = color;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, color.toQColor());
    setPalette(palette);
}

void TargetField::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_fill.toQColor());
        painter.drawRoundedRect(QRectF(rect()), m_cornerRadius, m_cornerRadius);
    }
    QLineEdit::paintEvent(event);
}

}  // namespace voveriz
