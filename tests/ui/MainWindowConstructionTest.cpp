#include "ui/ControllerFixture.h"
#include "ui/WaitUntil.h"

#include "ui/FlatButton.h"
#include "ui/MainWindowBuilder.h"
#include "ui/RoundedPanel.h"
#include "ui/SubtitleView.h"
#include "ui/TargetField.h"
#include "ui/WidgetColors.h"

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTextDocument>

namespace voveriz {
namespace {

using testing::nextTurn;

QString hex(const Color& color)
{
    return color.hexString();
}

QList<QWidget*> childWidgets(const QWidget* parent)
{
    return parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
}

class MainWindowConstructionTest : public testing::ControllerFixture {};

TEST_F(MainWindowConstructionTest, NewControllerHasNoViewNoControlsAndTheInitialState)
{
    EXPECT_FALSE(controller->isViewLoaded());
    EXPECT_EQ(controls().titleLabel, nullptr);
    EXPECT_EQ(controls().logView, nullptr);
    EXPECT_EQ(controller->dimension(), Dimension::Width);
    EXPECT_FALSE(controller->outputPath().has_value());
    EXPECT_EQ(hex(controller->palette().accent()), QStringLiteral("#607080"));
    // A layout notice before construction changes nothing: above all it builds nothing.
    controller->relayout();
    EXPECT_FALSE(controller->isViewLoaded());
    EXPECT_EQ(controls().titleLabel, nullptr);
}

TEST_F(MainWindowConstructionTest, ChildrenAreAddedInDrawingOrderWithTheGearLast)
{
    const DropView* root = controller->view();
    const MainWindowControls& c = controls();
    EXPECT_EQ(childWidgets(root), (QList<QWidget*>{c.titleLabel, c.subtitleView, c.settingsPanel, c.wfPanel,
                                                   c.logPanel, c.gearBtn}));
    EXPECT_EQ(childWidgets(c.settingsPanel),
              (QList<QWidget*>{c.sizeLabel, c.targetField, c.dimLabel, c.widthButton, c.heightButton}));
    EXPECT_EQ(childWidgets(c.wfPanel),
              (QList<QWidget*>{c.outputTitleLabel, c.changeOutputBtn, c.openOutputBtn, c.outputLabel}));
    EXPECT_EQ(childWidgets(c.logPanel), (QList<QWidget*>{c.logHeader, c.clearBtn, c.logView}));
    EXPECT_EQ(c.laidOut().scrollView, c.logView);
}

struct LabelCase {
    const char* name;
    QLabel* MainWindowControls::*label;
    const char* text;
    int pixelSize;
    bool bold;
    bool dimmed;
};

class LabelTest : public MainWindowConstructionTest, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(LabelTest, TextFontAndColor)
{
    controller->view();
    const LabelCase& expected = GetParam();
    const QLabel* label = controls().*expected.label;
    EXPECT_EQ(label->text(), QString::fromUtf8(expected.text));
    EXPECT_EQ(label->font().pixelSize(), expected.pixelSize);
    EXPECT_EQ(label->font().bold(), expected.bold);
    const Palette& palette = controller->palette();
    EXPECT_EQ(textColor(*label).toQColor(), (expected.dimmed ? palette.textDim() : palette.textCol()).toQColor());
    EXPECT_FALSE(label->autoFillBackground());
}

INSTANTIATE_TEST_SUITE_P(
    Labels, LabelTest,
    ::testing::Values(LabelCase{"Title", &MainWindowControls::titleLabel, "Voveriz", 32, true, false},
                      LabelCase{"Size", &MainWindowControls::sizeLabel, "Target size (px)", 16, false, false},
                      LabelCase{"Dimension", &MainWindowControls::dimLabel, "Resize by", 16, false, false},
                      LabelCase{"Folder", &MainWindowControls::outputTitleLabel, "Resized folder", 14, false, false},
                      LabelCase{"Path", &MainWindowControls::outputLabel, "", 12, false, true},
                      LabelCase{"Results", &MainWindowControls::logHeader, "Results", 12, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct ButtonCase {
    const char* name;
    FlatButton* MainWindowControls::*button;
    const char* text;
    int pixelSize;
    std::optional<const char*> fill;  // nothing: no fill of its own
    const char* tint;                 // "dim": the palette's textDim
};

class ButtonTest : public MainWindowConstructionTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(ButtonTest, TitleFontFillAndTint)
{
    controller->view();
    const ButtonCase& expected = GetParam();
    const FlatButton* button = controls().*expected.button;
    EXPECT_EQ(button->text(), QString::fromUtf8(expected.text));
    EXPECT_EQ(button->titlePixelSize(), expected.pixelSize);
    EXPECT_EQ(button->fill().has_value(), expected.fill.has_value());
    if (expected.fill && button->fill()) {
        EXPECT_EQ(hex(*button->fill()), QString::fromLatin1(*expected.fill));
    }
    const Color tint = QByteArray(expected.tint) == "dim" ? controller->palette().textDim()
                                                           : Color::fromHex(QString::fromLatin1(expected.tint));
    EXPECT_EQ(button->titleTint().toQColor(), tint.toQColor());
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ButtonTest,
    ::testing::Values(ButtonCase{"Gear", &MainWindowControls::gearBtn, "\u2699", 16, std::nullopt, "#aaaaaa"},
                      ButtonCase{"Width", &MainWindowControls::widthButton, "Width", 13, "#607080", "#ffffff"},
                      ButtonCase{"Height", &MainWindowControls::heightButton, "Height", 13, "#404040", "dim"},
                      ButtonCase{"Change", &MainWindowControls::changeOutputBtn, "Change...", 11, "#607080", "#ffffff"},
                      ButtonCase{"Open", &MainWindowControls::openOutputBtn, "Open", 11, "#607080", "#ffffff"},
                      ButtonCase{"Clear", &MainWindowControls::clearBtn, "Clear", 12, std::nullopt, "dim"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowConstructionTest, TargetFieldShows1080Bold20OnTheOffFill)
{
    controller->view();
    const TargetField* field = controls().targetField;
    EXPECT_EQ(field->text(), QStringLiteral("1080"));
    EXPECT_EQ(field->font().pixelSize(), 20);
    EXPECT_TRUE(field->font().bold());
    EXPECT_EQ(field->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_FALSE(field->hasFrame());
    EXPECT_EQ(hex(field->fill()), QStringLiteral("#404040"));
    EXPECT_EQ(field->cornerRadius(), 6.0);
    // Built in the palette's first text color, then restored to the stored (here default) grey.
    EXPECT_EQ(hex(field->textColor()), QStringLiteral("#dfdfdf"));
}

TEST_F(MainWindowConstructionTest, DefaultBackgroundFillsRootAndPanels)
{
    const DropView* root = controller->view();
    EXPECT_EQ(hex(backgroundFill(*root)), QStringLiteral("#111111"));
    for (const RoundedPanel* panel : {controls().settingsPanel, controls().wfPanel, controls().logPanel}) {
        EXPECT_EQ(hex(panel->fill()), QStringLiteral("#252525"));
        EXPECT_EQ(panel->cornerRadius(), 10.0);
    }
}

TEST_F(MainWindowConstructionTest, SavedBackgroundColorsRootAndPanelsButNotTheAccent)
{
    store->setString(PreferenceKey::BgColor, QStringLiteral("#0d1117"));
    relaunch();
    const DropView* root = controller->view();
    EXPECT_EQ(hex(backgroundFill(*root)), QStringLiteral("#0d1117"));
    for (const RoundedPanel* panel : {controls().settingsPanel, controls().wfPanel, controls().logPanel}) {
        EXPECT_EQ(hex(panel->fill()), QStringLiteral("#21252b"));
    }
    for (const FlatButton* accented : {controls().changeOutputBtn, controls().openOutputBtn, controls().widthButton}) {
        EXPECT_EQ(hex(*accented->fill()), QStringLiteral("#607080"));
    }
    EXPECT_EQ(hex(*controls().heightButton->fill()), QStringLiteral("#404040"));
}

TEST_F(MainWindowConstructionTest, LogHoldsExactlyTheHintLineAfterTheLoadSequence)
{
    controller->view();
    const QPlainTextEdit* log = controls().logView;
    EXPECT_EQ(log->toPlainText(), QString());
    nextTurn();
    EXPECT_EQ(log->toPlainText(), QString::fromLatin1(kHintLine) + QLatin1Char('\n'));
    EXPECT_EQ(log->font().pixelSize(), 13);
    EXPECT_TRUE(log->isReadOnly());
}

TEST_F(MainWindowConstructionTest, ClearEmptiesTheLogHintIncludedForGood)
{
    controller->view();
    nextTurn();
    controls().clearBtn->click();
    nextTurn();
    EXPECT_EQ(controls().logView->toPlainText(), QString());
}

TEST_F(MainWindowConstructionTest, TogglesSwapTheirLooksWhenPressed)
{
    controller->view();
    controls().heightButton->click();
    EXPECT_EQ(controller->dimension(), Dimension::Height);
    EXPECT_EQ(hex(*controls().heightButton->fill()), QStringLiteral("#607080"));
    EXPECT_EQ(hex(*controls().widthButton->fill()), QStringLiteral("#404040"));
    controls().widthButton->click();
    EXPECT_EQ(controller->dimension(), Dimension::Width);
    EXPECT_EQ(hex(*controls().widthButton->fill()), QStringLiteral("#607080"));
}

TEST_F(MainWindowConstructionTest, SubtitleShowsThePictureBetweenItsTwoRuns)
{
    controller->view();
    const SubtitleView* subtitle = controls().subtitleView;
    EXPECT_EQ(subtitle->font().pixelSize(), 13);
    EXPECT_EQ(textColor(*subtitle).toQColor(), controller->palette().textDim().toQColor());

    QTextDocument shown;
    shown.setHtml(subtitle->text());
    EXPECT_EQ(shown.toPlainText(), QStringLiteral("Bulk Zedar Aredude  \uFFFC  Original Photos Never Changed"));
    EXPECT_FALSE(QImage(QString::fromLatin1(kFaviconPath)).isNull());

    QTextDocument bare;
    bare.setHtml(SubtitleView::composedText(QString()));
    EXPECT_EQ(bare.toPlainText(), QStringLiteral("Bulk Zedar Aredude    Original Photos Never Changed"));
}

// At the narrowest window the subtitle's frame is 368 wide; its line must fit inside, not run
// past the right edge where the last letters are cut off.
TEST_F(MainWindowConstructionTest, SubtitleFitsItsFrame)
{
    controller->view();
    SubtitleView& subtitle = *controls().subtitleView;
    ASSERT_EQ(subtitle.width(), 368);
    EXPECT_LE(subtitle.sizeHint().width(), subtitle.width());
    // Drawn at the screen's scale, nothing but the background may show in the first and the
    // last column (the top row, above the letters, is background).
    const QImage shown = subtitle.grab().toImage();
    const QRgb background = shown.pixel(0, 0);
    for (const int x : {0, shown.width() - 1}) {
        for (int y = 0; y < shown.height(); ++y) {
            ASSERT_EQ(shown.pixel(x, y), background) << "ink at (" << x << ", " << y << ") of " << shown.width();
        }
    }
}

// The scale is fixed when the application starts, so each scale gets a process of its own.
TEST_F(MainWindowConstructionTest, SubtitleFitsItsFrameAtEveryScale)
{
    for (const char* scale : {"1", "1.25", "1.5", "2"}) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(scale));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=MainWindowConstructionTest.SubtitleFitsItsFrame")});
        ASSERT_TRUE(child.waitForFinished(120000)) << scale;
        EXPECT_EQ(child.exitCode(), 0) << "at scale " << scale << ":\n" << child.readAll().toStdString();
    }
}

TEST_F(MainWindowConstructionTest, MissingPictureLeavesTheTwoRunsAlone)
{
    const SubtitleView subtitle(QStringLiteral(":/no-such-image.png"));
    QTextDocument shown;
    shown.setHtml(subtitle.text());
    EXPECT_EQ(shown.toPlainText(), QStringLiteral("Bulk Zedar Aredude    Original Photos Never Changed"));
}

}  // namespace
}  // namespace voveriz
