#include "ui/MainWindowControls.h"

#include "ui/FlatButton.h"
#include "ui/RoundedPanel.h"
#include "ui/SubtitleView.h"
#include "ui/TargetField.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace voveriz {

LaidOutControls MainWindowControls::laidOut() const
{
    return LaidOutControls{
        .gearBtn = gearBtn,
        .titleLabel = titleLabel,
        .subtitleView = subtitleView,
        .settingsPanel = settingsPanel,
        .targetField = targetField,
        .widthButton = widthButton,
        .heightButton = heightButton,
        .wfPanel = wfPanel,
        .outputTitleLabel = outputTitleLabel,
        .changeOutputBtn = changeOutputBtn,
        .openOutputBtn = openOutputBtn,
        .outputLabel = outputLabel,
        .logPanel = logPanel,
        .logHeader = logHeader,
        .clearBtn = clearBtn,
        .scrollView = logView,
    };
}

}  // namespace voveriz
