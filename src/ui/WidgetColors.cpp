#include "ui/WidgetColors.h"

#include <QLabel>
#include <QPalette>

namespace voveriz {

void setTextColor(QLabel& label, const Color& color)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, color.toQColor());
    label.setPalette(palette);
}

Color textColor(const QLabel& label)
{
    return Color::fromQColor(label.palette().color(QPalette::WindowText));
}

void setBackgroundFill(QWidget& widget, const Color& color)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, color.toQColor());
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

Color backgroundFill(const QWidget& widget)
{
    return Color::fromQColor(widget.palette().color(QPalette::Window));
}

}  // namespace voveriz
