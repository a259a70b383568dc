#include "ui/ColorApplication.h"

#include "appearance/Palette.h"
#include "ui/ActivityLog.h"
#include "ui/FlatButton.h"
#include "ui/MainWindowControls.h"
#include "ui/RoundedPanel.h"
#include "ui/SubtitleView.h"
#include "ui/TargetField.h"
#include "ui/WidgetColors.h"

namespace voveriz {

namespace {

const Color kWhite{1.0, 1.0, 1.0, 1.0};

}  // namespace

void recolorText(const Color& c, Palette& palette, const MainWindowControls& controls, ActivityLog& log,
            Dimension dimension)
{
    palette.setTextColor(c);
    const Color d = palette.textDim();

    for (QLabel* label : {controls.titleLabel, controls.sizeLabel, controls.dimLabel, controls.outputTitleLabel}) {
        setTextColor(*label, c);
    }
    controls.targetField->setTextColor(c);

    setTextColor(*controls.outputLabel, d);
    setTextColor(*controls.logHeader, d);
    controls.clearBtn->setTitleTint(d);

    controls.widthButton->setTitleTint(dimension == Dimension::Width ? kWhite : d);
    controls.heightButton->setTitleTint(dimension == Dimension::Height ? kWhite : d);

    controls.subtitleView->setTextColor(d);
    log.recolorAll(c);
}

void recolorBackground(const Color& c, Palette& palette, QWidget& root, const MainWindowControls& controls,
                       Dimension dimension)
{
    setBackgroundFill(root, c);

    const Color panel = c.panelColor();
    for (RoundedPanel* p : {controls.settingsPanel, controls.wfPanel, controls.logPanel}) {
        p->setFill(panel);
    }

    palette.setAccent(c.accentColor());
    const Color& a = palette.accent();
    controls.changeOutputBtn->setFill(a);
    controls.openOutputBtn->setFill(a);
    controls.widthButton->setFill(dimension == Dimension::Width ? a : palette.btnOff());
    controls.heightButton->setFill(dimension == Dimension::Height ? a : palette.btnOff());
}

}  // namespace voveriz
