#pragma once

#include "appearance/Color.h"

class QLabel;
class QWidget;

namespace voveriz {

// Colours painted through a widget's palette, read back as the program's own colour type.

// The text colour of a label.
void setTextColour(QLabel& label, const Colour& colour);
Colour textColour(const QLabel& label);

// A solid fill of the whole widget behind its children.
void setBackgroundFill(QWidget& widget, const Colour& colour);
Colour backgroundFill(const QWidget& widget);

}  // namespace voveriz
