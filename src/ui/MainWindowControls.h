#pragma once

#include "ui/Layout.h"

class QLabel;
class QPlainTextEdit;

namespace voveriz {

class FlatButton;
class RoundedPanel;
class SubtitleView;
class TargetField;

// Every control of the main window. All absent until construction fills them, once; each is
// owned by its parent in the widget tree.
struct MainWindowControls {
    TargetField* targetField = nullptr;
    FlatButton* widthButton = nullptr;
    FlatButton* heightButton = nullptr;
    QPlainTextEdit* logView = nullptr;
    QLabel* titleLabel = nullptr;
    SubtitleView* subtitleView = nullptr;
    RoundedPanel* settingsPanel = nullptr;
    RoundedPanel* wfPanel = nullptr;
    RoundedPanel* logPanel = nullptr;
    QLabel* logHeader = nullptr;
    FlatButton* clearBtn = nullptr;
    QLabel* outputLabel = nullptr;
    FlatButton* changeOutputBtn = nullptr;
    FlatButton* openOutputBtn = nullptr;
    QLabel* outputTitleLabel = nullptr;
    FlatButton* gearBtn = nullptr;
    QLabel* sizeLabel = nullptr;
    QLabel* dimLabel = nullptr;

    // The controls that layout places.
    LaidOutControls laidOut() const;
};

}  // namespace voveriz
