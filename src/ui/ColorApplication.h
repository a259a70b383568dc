#pragma once

#include "appearance/Color.h"
#include "engine/plan/Dimension.h"

class QWidget;

namespace voveriz {

class ActivityLog;
class Palette;
struct MainWindowControls;

// Makes c the window's text color: textCol becomes c and textDim c at alpha 0.55; every label,
// the field, the subtitle, the toggles' titles (white for the chosen one) and every line already
// in the log take the new colors.
void recolorText(const Color& c, Palette& palette, const MainWindowControls& controls, ActivityLog& log,
               Dimension dimension);

// Makes c the window's background: the root takes c itself, the panels its panel color, and the
// accent (with the buttons and the chosen toggle filled with it) follows c.
void recolorBackground(const Color& c, Palette& palette, QWidget& root, const MainWindowControls& controls,
                       Dimension dimension);

}  // namespace voveriz
