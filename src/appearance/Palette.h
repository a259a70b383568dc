#pragma once

#include "appearance/Color.h"

namespace voveriz {

// Alpha of the dimmed text colour: replaces the text colour's own alpha.
inline constexpr double kDimmedTextAlpha = 0.55;

// The dimmed text colour that goes with a text colour: the same colour at alpha 0.55.
Colour dimmedText(const Colour& text);

// The six colours the main window is painted from. A new palette holds the initial values;
// only the accent and the two text colours change afterwards, and the two text colours only
// together, so that the dimmed one is always the text colour at alpha 0.55.
class Palette {
public:
    Palette();

    const Colour& bg() const { return m_bg; }            // #111111
    const Colour& panelBg() const { return m_panelBg; }  // #222222
    const Colour& accent() const { return m_accent; }    // #607080
    const Colour& textCol() const { return m_textCol; }  // #e0e0f0
    const Colour& textDim() const { return m_textDim; }  // #888888
    const Colour& btnOff() const { return m_btnOff; }    // #404040

    void setAccent(const Colour& accent);
    // Sets textCol to the colour and textDim to dimmedText of it.
    void setTextColour(const Colour& text);

private:
    Colour m_bg;
    Colour m_panelBg;
    Colour m_accent;
    Colour m_textCol;
    Colour m_textDim;
    Colour m_btnOff;
};

}  // namespace voveriz
