#include "ui/Layout.h"

#include <QWidget>

#include <cmath>

namespace voveriz {

namespace {

// Margins and sizes of the window's vertical stack, from the top.
constexpr double kSideMargin = 16;
constexpr double kTitleTop = 14, kTitleHeight = 32;
constexpr double kSubtitleGap = 6, kSubtitleHeight = 20;
constexpr double kSettingsGap = 14, kUpperPanelHeight = 90;
constexpr double kFolderGap = 12;
constexpr double kLogGap = 12, kBottomMargin = 16;

void place(QWidget* widget, const Frame& frame, double parentHeight)
{
    if (widget) widget->setGeometry(toQtGeometry(frame, parentHeight));
}

}  // namespace

QRect toQtGeometry(const Frame& frame, double parentHeight)
{
    const double qtY = parentHeight - frame.y - frame.height;
    return QRect(int(std::lround(frame.x)), int(std::lround(qtY)), int(std::lround(frame.width)),
                 int(std::lround(frame.height)));
}

MainWindowLayout mainWindowLayout(double W, double H)
{
    const double pw = W - 2 * kSideMargin;
    const double titleY = H - kTitleTop - kTitleHeight;                      // H - 46
    const double subtitleY = titleY - kSubtitleGap - kSubtitleHeight;         // H - 72
    const double settingsY = subtitleY - kSettingsGap - kUpperPanelHeight;    // H - 176
    const double folderY = settingsY - kFolderGap - kUpperPanelHeight;        // H - 278
    const double logHeight = folderY - kLogGap - kBottomMargin;               // H - 306
    const double logHeaderY = logHeight - 26;                                 // H - 332

    MainWindowLayout l;
    l.gearBtn = {W - 36, H - 32, 24, 24};
    l.titleLabel = {kSideMargin, titleY, pw, kTitleHeight};
    l.subtitleView = {kSideMargin, subtitleY, pw, kSubtitleHeight};
    l.settingsPanel = {kSideMargin, settingsY, pw, kUpperPanelHeight};
    // Right-hand controls of the settings panel end 16 from its right edge.
    l.targetField = {pw - 106, 54, 90, 26};
    l.widthButton = {pw - 174, 16, 76, 24};
    l.heightButton = {pw - 92, 16, 76, 24};
    l.wfPanel = {kSideMargin, folderY, pw, kUpperPanelHeight};
    // The folder panel's buttons end 14 from its right edge, "Change..." rightmost.
    l.outputTitleLabel = {14, 52, 120, 26};
    l.changeOutputBtn = {pw - 90, 52, 76, 24};
    l.openOutputBtn = {pw - 172, 52, 76, 24};
    l.outputLabel = {14, 18, pw - 28, 32};
    l.logPanel = {kSideMargin, kBottomMargin, pw, logHeight};
    l.logHeader = {12, logHeaderY, 80, 18};
    l.clearBtn = {pw - 50, logHeaderY, 44, 18};
    l.scrollView = {8, 8, pw - 16, logHeaderY - 8};  // H - 340
    return l;
}

bool applyMainWindowLayout(const LaidOutControls& c, const QSize& rootSize)
{
    if (!c.titleLabel) return false;
    const double H = rootSize.height();
    const MainWindowLayout l = mainWindowLayout(rootSize.width(), H);
    place(c.gearBtn, l.gearBtn, H);
    place(c.titleLabel, l.titleLabel, H);
    place(c.subtitleView, l.subtitleView, H);
    place(c.settingsPanel, l.settingsPanel, H);
    place(c.targetField, l.targetField, l.settingsPanel.height);
    place(c.widthButton, l.widthButton, l.settingsPanel.height);
    place(c.heightButton, l.heightButton, l.settingsPanel.height);
    place(c.wfPanel, l.wfPanel, H);
    place(c.outputTitleLabel, l.outputTitleLabel, l.wfPanel.height);
    place(c.changeOutputBtn, l.changeOutputBtn, l.wfPanel.height);
    place(c.openOutputBtn, l.openOutputBtn, l.wfPanel.height);
    place(c.outputLabel, l.outputLabel, l.wfPanel.height);
    place(c.logPanel, l.logPanel, H);
    place(c.logHeader, l.logHeader, l.logPanel.height);
    place(c.clearBtn, l.clearBtn, l.logPanel.height);
    place(c.scrollView, l.scrollView, l.logPanel.height);
    return true;
}

}  // namespace voveriz
