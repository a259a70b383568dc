#include "ui/RoundedPanel.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

namespace voveriz {

RoundedPanel::RoundedPanel(const Color& fill, double cornerRadius, QWidget* parent)
    : QWidget(parent)
    , m_fill(fill)
    , m_cornerRadius(cornerRadius)
{
}

void RoundedPanel::setFill(const Color& fill)
{
    m_fill = fill;
    update();
}

void RoundedPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_fill.toQColor());
    painter.drawRoundedRect(QRectF(rect()), m_cornerRadius, m_cornerRadius);
}

}  // namespace voveriz
