#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace voveriz {

// A frame in its parent's coordinates with the origin at the parent's bottom-left corner and
// y growing upward, in device-independent pixels.
struct Frame {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;

    bool operator==(const Frame& other) const = default;
};

// Qt geometry (origin top-left) of a bottom-left frame inside a parent of the given height:
// qtY = parentHeight - y - height.
QRect toQtGeometry(const Frame& frame, double parentHeight);

// The two labels whose frames are set once at construction and never moved by layout.
inline constexpr Frame kSizeLabelFrame{16, 54, 200, 22};
inline constexpr Frame kDimLabelFrame{16, 18, 200, 22};

// Every frame the main window's layout sets, for a root view of width W and height H.
// Root view children: gearBtn, titleLabel, subtitleView, the three panels.
// settingsPanel children: targetField, widthButton, heightButton.
// wfPanel children: outputTitleLabel, openOutputBtn, changeOutputBtn, outputLabel.
// logPanel children: logHeader, clearBtn, scrollView.
struct MainWindowLayout {
    Frame gearBtn;
    Frame titleLabel;
    Frame subtitleView;
    Frame settingsPanel;
    Frame targetField;
    Frame widthButton;
    Frame heightButton;
    Frame wfPanel;
    Frame outputTitleLabel;
    Frame changeOutputBtn;
    Frame openOutputBtn;
    Frame outputLabel;
    Frame logPanel;
    Frame logHeader;
    Frame clearBtn;
    Frame scrollView;
};

// The arithmetic alone: no rounding, no clamping.
MainWindowLayout mainWindowLayout(double width, double height);

// The controls layout places. Any may be absent before construction.
struct LaidOutControls {
    QWidget* gearBtn = nullptr;
    QWidget* titleLabel = nullptr;
    QWidget* subtitleView = nullptr;
    QWidget* settingsPanel = nullptr;
    QWidget* targetField = nullptr;
    QWidget* widthButton = nullptr;
    QWidget* heightButton = nullptr;
    QWidget* wfPanel = nullptr;
    QWidget* outputTitleLabel = nullptr;
    QWidget* changeOutputBtn = nullptr;
    QWidget* openOutputBtn = nullptr;
    QWidget* outputLabel = nullptr;
    QWidget* logPanel = nullptr;
    QWidget* logHeader = nullptr;
    QWidget* clearBtn = nullptr;
    QWidget* scrollView = nullptr;
};

// Places every control for a root view of the given size, in the order gearBtn, titleLabel,
// subtitleView, settingsPanel, targetField, widthButton, heightButton, wfPanel,
// outputTitleLabel, changeOutputBtn, openOutputBtn, outputLabel, logPanel, logHeader,
// clearBtn, scrollView. Before construction (no titleLabel yet) it changes nothing and
// returns false. Construction makes every control before the first layout, so when
// titleLabel exists the others do too; a missing one is skipped all the same.
bool applyMainWindowLayout(const LaidOutControls& controls, const QSize& rootSize);

}  // namespace voveriz
