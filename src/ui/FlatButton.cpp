#include "ui/FlatButton.h"

#include <QFocusEvent>
#include <QPaintEvent>
#include <QPainter>

namespace voveriz {

FlatButton::FlatButton(const QString& title, QWidget* parent)
    : QPushButton(title, parent)
{
    setFlat(true);
    // A click leaves the keyboard focus where it was (an edit in the target field goes on);
    // Tab still reaches the button.
    setFocusPolicy(Qt::TabFocus);
}

void FlatButton::setFill(const std::optional<Color>& fill)
{
    m_fill = fill;
    update();
}

void FlatButton::setCornerRadius(double radius)
{
    m_cornerRadius = radius;
    update();
}

void FlatButton::setTitleTint(const Color& tint)
{
    m_titleTint = tint;
    update();
}

namespace {

// Focus that leaves for another window or a popup menu and comes back with it: the outline it
// had (or had not) before comes back too.
bool isLentAndReturned(Qt::FocusReason reason)
{
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

}  // namespace

void FlatButton::focusInEvent(QFocusEvent* event)
{
    if (!isLentAndReturned(event->reason())) {
        m_focusFromKeyboard = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    }
    QPushButton::focusInEvent(event);
}

void FlatButton::focusOutEvent(QFocusEvent* event)
{
    if (!isLentAndReturned(event->reason())) m_focusFromKeyboard = false;
    QPushButton::focusOutEvent(event);
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
    if (showsFocusOutline()) {
        // Focus from the keyboard is the only time anything but the fill and the title shows.
        QColor ring = m_titleTint.toQColor();
        ring.setAlphaF(0.6f);
        painter.setPen(QPen(ring, 1.0));
        painter.setBrush(Qt::NoBrush);
        const double inset = 0.5;
        painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), m_cornerRadius, m_cornerRadius);
    }
    painter.setPen(m_titleTint.toQColor());
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}

}  // namespace voveriz
