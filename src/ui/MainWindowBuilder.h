#pragma once

#include "appearance/Color.h"
#include "ui/MainWindowControls.h"

namespace voveriz {

class Palette;

inline constexpr const char* kFaviconPath = ":/favicon.png";
inline constexpr const char* kGearTint = "#aaaaaa";
inline constexpr const char* kHintLine =
    "Drop photos anywhere in this window. Photos will automatically be resized and placed in the Resized "
    "folder you choose above.";

// Makes every control of the main window inside root, with its texts, fonts and colors, adding
// them in this order: title, subtitle, settings panel (size label, target field, "Resize by",
// Width, Height), output-folder panel ("Resized folder", "Change...", "Open", the path),
// log panel ("Results", "Clear", the log), and the gear last, above everything else.
// The root is filled with the background, the panels with its panel color; the accent-filled
// controls take the palette's accent. Nothing is wired or placed yet, except the two labels
// of the settings panel whose frames never change.
MainWindowControls buildMainWindowTree(QWidget& root, const Palette& palette, const Color& background);

}  // namespace voveriz
