#include "ui/MainWindowBuilder.h"

#include "appearance/Palette.h"
#include "appearance/SystemFonts.h"
#include "ui/ControlStyling.h"
#include "ui/FlatButton.h"
#include "ui/Layout.h"
#include "ui/RoundedPanel.h"
#include "ui/SubtitleView.h"
#include "ui/TargetField.h"
#include "ui/UiResources.h"
#include "ui/WidgetColors.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace voveriz {

namespace {

constexpr int kTitlePixelSize = 32;
constexpr int kSubtitlePixelSize = 13;
constexpr int kPanelLabelPixelSize = 16;
constexpr int kTargetFieldPixelSize = 20;
constexpr int kFolderTitlePixelSize = 14;
constexpr int kSmallPixelSize = 12;
constexpr int kGearPixelSize = 16;

// A static one-line text on a transparent background, in the interface font.
QLabel* makeLabel(QWidget* parent, const QString& text, int pixelSize, bool bold, const Color& color)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(systemFont(pixelSize, bold));
    setTextColor(*label, color);
    return label;
}

// A label of the settings panel, whose frame is set once: the panel's height never changes.
QLabel* makeSettingsLabel(QWidget* panel, const QString& text, const Frame& frame, const Color& color)
{
    QLabel* label = makeLabel(panel, text, kPanelLabelPixelSize, false, color);
    label->setGeometry(toQtGeometry(frame, mainWindowLayout(0, 0).settingsPanel.height));
    return label;
}

// The settings button: the gear U+2699, tinted #aaaaaa, with no fill.
FlatButton* makeGearButton()
{
    auto* gear = new FlatButton(QStringLiteral("\u2699"));
    gear->setFont(systemFont(kGearPixelSize));
    gear->setTitleTint(Color::fromHex(QString::fromLatin1(kGearTint)));
    gear->setAccessibleName(QStringLiteral("Settings"));
    gear->setAccessibleDescription(QStringLiteral("Background color and text lightness"));
    gear->setToolTip(QStringLiteral("Settings"));
    return gear;
}

TargetField* makeTargetField(QWidget* parent, const Palette& palette)
{
    auto* field = new TargetField(QStringLiteral("1080"), parent);
    field->setFont(systemFont(kTargetFieldPixelSize, true));
    field->setTextColor(palette.textCol());
    field->setFill(palette.btnOff());
    field->setCornerRadius(kButtonCornerRadius);
    field->setAccessibleName(QStringLiteral("Target size in pixels"));
    field->setAccessibleDescription(QStringLiteral("Each photo is scaled down until its width or height, as chosen "
                                                   "under Resize by, is this many pixels"));
    return field;
}

FlatButton* makeClearButton(QWidget* parent, const Palette& palette)
{
    auto* clear = new FlatButton(QStringLiteral("Clear"), parent);
    clear->setFont(systemFont(kSmallPixelSize));
    clear->setTitleTint(palette.textDim());
    clear->setAccessibleDescription(QStringLiteral("Empty the results"));
    return clear;
}

// A slim scroller of translucent grey, which shows on a dark background as on a light one.
const char* const kLogScrollerStyle =
    "QScrollBar:vertical { background: transparent; width: 8px; margin: 0; }"
    "QScrollBar::handle:vertical { background: rgba(128, 128, 128, 0.55); border-radius: 3px;"
    " min-height: 24px; margin: 1px; }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }";

// The log: transparent, a vertical scroller always shown, no horizontal one, lines wrapped at
// the view's width.
QPlainTextEdit* makeLogView(QWidget* parent, const Palette& palette)
{
    auto* view = new QPlainTextEdit(parent);
    view->setFrameShape(QFrame::NoFrame);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view->verticalScrollBar()->setStyleSheet(QString::fromLatin1(kLogScrollerStyle));
    view->verticalScrollBar()->setAccessibleName(QStringLiteral("Scroll the results"));
    view->viewport()->setAutoFillBackground(false);
    QPalette colors = view->palette();
    colors.setColor(QPalette::Base, Qt::transparent);
    colors.setColor(QPalette::Text, palette.textCol().toQColor());
    view->setPalette(colors);
    // Each line appended is announced to screen readers as text inserted here.
    view->setAccessibleName(QStringLiteral("Results"));
    view->setAccessibleDescription(QStringLiteral("One line for each photo handled"));
    return view;
}

template <typename Control>
Control* addTo(QWidget* parent, Control* child)
{
    child->setParent(parent);
    return child;
}

}  // namespace

MainWindowControls buildMainWindowTree(QWidget& root, const Palette& palette, const Color& background)
{
    initUiResources();
    MainWindowControls c;
    setBackgroundFill(root, background);
    root.setAccessibleName(QStringLiteral("Drop area"));
    root.setAccessibleDescription(QStringLiteral("Drop photos anywhere in this window, or paste copied files, "
                                                 "to resize them into the Resized folder"));
    c.gearBtn = makeGearButton();

    c.titleLabel = makeLabel(&root, QStringLiteral("Voveriz"), kTitlePixelSize, true, palette.textCol());
    c.titleLabel->setAlignment(Qt::AlignCenter);
    c.subtitleView = new SubtitleView(QString::fromLatin1(kFaviconPath), &root);
    c.subtitleView->setFont(systemFont(kSubtitlePixelSize));
    c.subtitleView->setTextColor(palette.textDim());

    c.settingsPanel = addTo(&root, roundedPanel(palette));
    c.sizeLabel = makeSettingsLabel(c.settingsPanel, QStringLiteral("Target size (px)"), kSizeLabelFrame,
                                    palette.textCol());
    c.targetField = makeTargetField(c.settingsPanel, palette);
    c.dimLabel = makeSettingsLabel(c.settingsPanel, QStringLiteral("Resize by"), kDimLabelFrame, palette.textCol());
    c.widthButton = addTo(c.settingsPanel, toggleButton(QStringLiteral("Width"), true, palette));
    c.widthButton->setAccessibleDescription(QStringLiteral("The target size applies to the width"));
    c.heightButton = addTo(c.settingsPanel, toggleButton(QStringLiteral("Height"), false, palette));
    c.heightButton->setAccessibleDescription(QStringLiteral("The target size applies to the height"));

    c.wfPanel = addTo(&root, roundedPanel(palette));
    c.outputTitleLabel =
        makeLabel(c.wfPanel, QStringLiteral("Resized folder"), kFolderTitlePixelSize, false, palette.textCol());
    c.changeOutputBtn = addTo(c.wfPanel, accentButton(QStringLiteral("Change..."), palette));
    c.changeOutputBtn->setAccessibleDescription(QStringLiteral("Choose the Resized folder"));
    c.openOutputBtn = addTo(c.wfPanel, accentButton(QStringLiteral("Open"), palette));
    c.openOutputBtn->setAccessibleDescription(QStringLiteral("Show the Resized folder in the file manager"));
    c.outputLabel = makeLabel(c.wfPanel, QString(), kSmallPixelSize, false, palette.textDim());
    c.outputLabel->setWordWrap(true);
    c.outputLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    c.logPanel = addTo(&root, roundedPanel(palette));
    c.logHeader = makeLabel(c.logPanel, QStringLiteral("Results"), kSmallPixelSize, true, palette.textDim());
    c.clearBtn = makeClearButton(c.logPanel, palette);
    c.logView = makeLogView(c.logPanel, palette);

    const Color panelFill = background.panelColor();
    for (RoundedPanel* panel : {c.settingsPanel, c.wfPanel, c.logPanel}) {
        panel->setFill(panelFill);
    }
    addTo(&root, c.gearBtn);
    return c;
}

}  // namespace voveriz
