#pragma once

#include "appearance/Color.h"

namespace voveriz {

// Alpha of the dimmed text color: replaces the text color's own alpha.
inline constexpr double kDimmedTextAlpha = 0.55;

// The dimmed text color that goes with a text color: the same color at alpha 0.55.
Color dimmedText(const Color& text);

// The six colors the main window is painted from. A new palette holds the initial values;
// only the accent and the two text colors change afterwards, and the two text colors only
// together: from the first setTextColor on, the dimmed one is the text color at alpha 0.55.
// Until then it is the initial opaque grey, which is not derived from the initial text color.
class Palette {
public:
    Palette();

    const Color& bg() const { return m_bg; }            // #111111
    const Color& panelBg() const { return m_panelBg; }  // #222222
    const Color& accent() const { return m_accent; }    // #607080
    const Color& textCol() const { return m_textCol; }  // #e0e0f0
    const Color& textDim() const { return m_textDim; }  // #888888
    const Color& btnOff() const { return m_btnOff; }    // #404040

    void setAccent(const Color& accent);
    // Sets textCol to the color and textDim to dimmedText of it.
    void setTextColor(const Color& text);

private:
    Color m_bg;
    Color m_panelBg;
    Color m_accent;
    Color m_textCol;
    Color m_textDim;
    Color m_btnOff;
};

}  // namespace voveriz
