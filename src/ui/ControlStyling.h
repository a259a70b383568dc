#pragma once

#include "appearance/Color.h"

#include <QString>

namespace voveriz {

class FlatButton;
class Palette;
class RoundedPanel;

inline constexpr double kPanelCornerRadius = 10.0;
inline constexpr double kButtonCornerRadius = 6.0;
inline constexpr int kToggleTitlePixelSize = 13;
inline constexpr int kAccentTitlePixelSize = 11;

// The styled building blocks of the main window. Each reads the palette once, when it makes
// the control; the control has no parent, no geometry and no connection yet: the caller owns it.

// A container filled with panelBg, corner radius 10.
RoundedPanel* roundedPanel(const Palette& palette);

// One of the Width/Height pair: corner radius 6, title 13 px bold; painted as chosen or not,
// and checked when chosen: the pair (both children of one parent) is a choice of one, as radio
// buttons are, for the keyboard and for screen readers.
FlatButton* toggleButton(const QString& title, bool active, const Palette& palette);

// Checks the chosen toggle of the pair and unchecks the other. The pair is one stop for Tab, at
// the chosen one; the arrow keys move to the other and choose it. Changes nothing painted.
void checkToggle(FlatButton& chosen, FlatButton& other);

// The chosen look (accent fill, white title) or the other (btnOff fill, textDim title),
// from the palette as it is now. Used when the toggle is made and whenever the choice changes.
void paintToggle(FlatButton& button, bool active, const Palette& palette);

// A small action button: accent fill, white title 11 px bold, corner radius 6.
FlatButton* accentButton(const QString& title, const Palette& palette);

}  // namespace voveriz
