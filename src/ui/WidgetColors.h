#pragma once

#include "appearance/Color.h"

class QLabel;
class QWidget;

namespace voveriz {

// Colors painted through a widget's palette, read back as the program's own color type.

// The text color of a label.
void setTextColor(QLabel& label, const Color& color);
Color textColor(const QLabel& label);

// A solid fill of the whole widget behind its children.
void setBackgroundFill(QWidget& widget, const Color& color);
Color backgroundFill(const QWidget& widget);

}  // namespace voveriz
