#include "ui/ControlStyling.h"

#include "appearance/Palette.h"
#include "appearance/SystemFonts.h"
#include "ui/FlatButton.h"
#include "ui/RoundedPanel.h"

namespace voveriz {

namespace {

const Color kWhite{1.0, 1.0, 1.0, 1.0};

FlatButton* filledButton(const QString& title, int titlePixelSize)
{
    auto* button = new FlatButton(title);
    button->setCornerRadius(kButtonCornerRadius);
    button->setFont(systemFont(titlePixelSize, true));
    return button;
}

}  // namespace

RoundedPanel* roundedPanel(const Palette& palette)
{
    return new RoundedPanel(palette.panelBg(), kPanelCornerRadius);
}

FlatButton* toggleButton(const QString& title, bool active, const Palette& palette)
{
    FlatButton* button = filledButton(title, kToggleTitlePixelSize);
    // One of two that exclude each other (with the other toggle of the same parent): screen
    // readers say which one is chosen. What shows is the look alone.
    button->setCheckable(true);
    button->setAutoExclusive(true);
    if (active) {
        button->setChecked(true);
    } else {
        button->setFocusPolicy(Qt::NoFocus);
    }
    paintToggle(*button, active, palette);
    return button;
}

void checkToggle(FlatButton& chosen, FlatButton& other)
{
    chosen.setChecked(true);  // the other is unchecked with it
    chosen.setFocusPolicy(Qt::TabFocus);
    other.setFocusPolicy(Qt::NoFocus);
}

void paintToggle(FlatButton& button, bool active, const Palette& palette)
{
    button.setFill(active ? palette.accent() : palette.btnOff());
    button.setTitleTint(active ? kWhite : palette.textDim());
}

FlatButton* accentButton(const QString& title, const Palette& palette)
{
    FlatButton* button = filledButton(title, kAccentTitlePixelSize);
    button->setFill(palette.accent());
    button->setTitleTint(kWhite);
    return button;
}

}  // namespace voveriz
