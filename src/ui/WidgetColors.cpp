#include "ui/WidgetColors.h"

#include <QLabel>
#include <QPalette>

namespace voveriz {

void setTextColour(QLabel& label, const Colour& colour)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour.toQColor());
    label.setPalette(palette);
}

Colour textColour(const QLabel& label)
{
    return Colour::fromQColor(label.palette().color(QPalette::WindowText));
}

void setBackgroundFill(QWidget& widget, const Colour& colour)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour.toQColor());
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

Colour backgroundFill(const QWidget& widget)
{
    return Colour::fromQColor(widget.palette().color(QPalette::Window));
}

}  // namespace voveriz
