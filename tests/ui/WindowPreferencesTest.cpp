// What the window stores when the user chooses, and what a new launch brings back.
#include "ui/ControllerFixture.h"
#include "ui/WaitUntil.h"

#include "ui/FlatButton.h"
#include "ui/MainWindowControls.h"
#include "ui/RoundedPanel.h"
#include "ui/TargetField.h"
#include "ui/WidgetColors.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>

namespace voveriz {
namespace {

using testing::nextTurn;

QString hex(const Color& c)
{
    return c.hexString();
}

class WindowPreferencesTest : public testing::ControllerFixture {
protected:
    void launch()
    {
        relaunch();
        controller->view();
    }

    QString stored(PreferenceKey key) const { return store->string(key).value_or(QStringLiteral("<none>")); }
    // Whether the toggle looks chosen; its checked state, which screen readers report, says the same.
    bool chosen(const FlatButton* button) const
    {
        const bool looksChosen = hex(*button->fill()) == hex(controller->palette().accent());
        EXPECT_EQ(button->isChecked(), looksChosen) << button->text().toStdString();
        return looksChosen;
    }
};

TEST_F(WindowPreferencesTest, FirstLaunchShowsTheDefaults)
{
    launch();
    const MainWindowControls& c = controls();
    EXPECT_EQ(controller->dimension(), Dimension::Width);
    EXPECT_TRUE(chosen(c.widthButton));
    EXPECT_FALSE(chosen(c.heightButton));
    EXPECT_EQ(c.targetField->text(), QStringLiteral("1080"));
    EXPECT_FALSE(controller->outputPath());
    EXPECT_EQ(c.outputLabel->text(), QString());
    EXPECT_EQ(hex(controller->palette().textCol()), QStringLiteral("#dfdfdf"));  // grey 0.878
    EXPECT_EQ(hex(backgroundFill(*controller->view())), QStringLiteral("#111111"));
    EXPECT_EQ(stored(PreferenceKey::Dimension), QStringLiteral("<none>"));  // reading writes nothing
}

TEST_F(WindowPreferencesTest, StoredValuesComeBackWithTheirFallbacks)
{
    struct Case {
        const char* what;
        std::optional<QString> target;
        std::optional<QString> dimension;
        QString field;
        Dimension expectedDimension;
    };
    const Case cases[] = {
        {"height", std::nullopt, QStringLiteral("height"), QStringLiteral("1080"), Dimension::Height},
        {"capital Height", std::nullopt, QStringLiteral("Height"), QStringLiteral("1080"), Dimension::Width},
        {"empty target", QString(), std::nullopt, QStringLiteral("1080"), Dimension::Width},
        {"target kept unchecked", QStringLiteral("abc"), std::nullopt, QStringLiteral("abc"), Dimension::Width},
        {"target 640", QStringLiteral(" 640"), QStringLiteral("width"), QStringLiteral(" 640"), Dimension::Width},
    };
    for (const Case& c : cases) {
        store = std::make_unique<PreferenceStore>(dir.filePath(QStringLiteral("%1.json").arg(c.what)));
        if (c.target) store->setString(PreferenceKey::TargetSize, *c.target);
        if (c.dimension) store->setString(PreferenceKey::Dimension, *c.dimension);
        launch();
        EXPECT_EQ(controls().targetField->text(), c.field) << c.what;
        EXPECT_EQ(controller->dimension(), c.expectedDimension) << c.what;
        EXPECT_EQ(chosen(controls().heightButton), c.expectedDimension == Dimension::Height) << c.what;
        EXPECT_EQ(hex(controls().heightButton->titleTint()),
                  c.expectedDimension == Dimension::Height ? QStringLiteral("#ffffff")
                                                                 : hex(controller->palette().textDim()))
            << c.what;
    }
}

TEST_F(WindowPreferencesTest, EachChoiceIsStoredAtOnceAndRestored)
{
    QTemporaryDir outputs;
    launch();
    controls().heightButton->click();
    EXPECT_EQ(stored(PreferenceKey::Dimension), QStringLiteral("height"));

    controls().targetField->setText(QStringLiteral("640"));
    EXPECT_EQ(stored(PreferenceKey::TargetSize), QStringLiteral("<none>"));  // only when editing ends
    emit controls().targetField->editingFinished();
    EXPECT_EQ(stored(PreferenceKey::TargetSize), QStringLiteral("640"));

    desktop->nextChoice = outputs.path();
    controls().changeOutputBtn->click();
    EXPECT_EQ(stored(PreferenceKey::OutputPath), outputs.path());
    EXPECT_EQ(controller->outputPath(), outputs.path());

    launch();
    EXPECT_EQ(controller->dimension(), Dimension::Height);
    EXPECT_EQ(controls().targetField->text(), QStringLiteral("640"));
    EXPECT_EQ(controller->outputPath(), outputs.path());
    EXPECT_EQ(controls().outputLabel->text(), outputs.path().replace(QDir::homePath(), QStringLiteral("~")));

    controls().targetField->clear();
    emit controls().targetField->editingFinished();
    EXPECT_EQ(stored(PreferenceKey::TargetSize), QString());
    launch();
    EXPECT_EQ(controls().targetField->text(), QStringLiteral("1080"));
}

TEST_F(WindowPreferencesTest, AFolderChooserLeftWithoutAChoiceChangesNothing)
{
    launch();
    desktop->nextChoice.reset();
    controls().changeOutputBtn->click();
    EXPECT_FALSE(controller->outputPath());
    EXPECT_EQ(stored(PreferenceKey::OutputPath), QStringLiteral("<none>"));
}

TEST_F(WindowPreferencesTest, AStaleFolderIsPassedOverQuietlyAndItsKeyStays)
{
    QTemporaryDir scratch;
    const QString gone = scratch.filePath(QStringLiteral("gone"));
    const QString file = scratch.filePath(QStringLiteral("file.txt"));
    QFile(file).open(QIODevice::WriteOnly);
    for (const QString& path : {gone, file}) {
        store->setString(PreferenceKey::OutputPath, path);
        launch();
        EXPECT_FALSE(controller->outputPath()) << path.toStdString();
        EXPECT_EQ(controls().outputLabel->text(), QString());
        EXPECT_EQ(stored(PreferenceKey::OutputPath), path);
        nextTurn();
        EXPECT_EQ(controls().logView->toPlainText().count(QLatin1Char('\n')), 1);  // the hint line alone
    }
}

TEST_F(WindowPreferencesTest, LightnessComesBackAsANumberOnly)
{
    struct Case {
        const char* what;
        std::optional<double> number;
        std::optional<QString> text;
        const char* textCol;
        double dimAlpha;
    };
    const Case cases[] = {
        {"black", 0.0, std::nullopt, "#000000", 0.55},
        {"mid grey", 0.5, std::nullopt, "#7f7f7f", 0.55},
        {"stored as text", std::nullopt, QStringLiteral("0.2"), "#dfdfdf", 0.55},
        {"above the slider", 1.0, std::nullopt, "#ffffff", 0.55},
    };
    for (const Case& c : cases) {
        store = std::make_unique<PreferenceStore>(dir.filePath(QStringLiteral("%1.json").arg(c.what)));
        if (c.number) store->setNumber(PreferenceKey::TextColorValue, *c.number);
        if (c.text) store->setString(PreferenceKey::TextColorValue, *c.text);
        launch();
        EXPECT_EQ(hex(controller->palette().textCol()), QString::fromLatin1(c.textCol)) << c.what;
        EXPECT_EQ(hex(textColor(*controls().titleLabel)), QString::fromLatin1(c.textCol)) << c.what;
        EXPECT_DOUBLE_EQ(controller->palette().textDim().a, c.dimAlpha) << c.what;
    }
}

TEST_F(WindowPreferencesTest, OpenShowsTheFolderOrAsksForOneFirst)
{
    QTemporaryDir outputs;
    launch();
    controls().openOutputBtn->click();
    EXPECT_TRUE(desktop->opened.empty());
    EXPECT_TRUE(testing::waitUntil(
        [&] { return controls().logView->toPlainText().endsWith(QStringLiteral("Choose a Resized folder first.\n")); }));

    desktop->nextChoice = outputs.path();
    controls().changeOutputBtn->click();
    controls().openOutputBtn->click();
    ASSERT_EQ(desktop->opened.size(), 1u);
    EXPECT_EQ(desktop->opened[0], outputs.path());
}

// Background and text colors applied to the whole window, as the settings popover does.
TEST_F(WindowPreferencesTest, ABackgroundPresetRepaintsRootPanelsAndAccentControls)
{
    launch();
    const MainWindowControls& c = controls();
    controller->applyBackgroundColor(Color::fromHex(QStringLiteral("#0d1117")));
    EXPECT_EQ(hex(backgroundFill(*controller->view())), QStringLiteral("#0d1117"));
    for (const RoundedPanel* panel : {c.settingsPanel, c.wfPanel, c.logPanel}) {
        EXPECT_EQ(hex(panel->fill()), QStringLiteral("#21252b"));
    }
    for (const FlatButton* button : {c.changeOutputBtn, c.openOutputBtn, c.widthButton}) {
        EXPECT_EQ(hex(*button->fill()), QStringLiteral("#45494f"));
    }
    EXPECT_EQ(hex(*c.heightButton->fill()), QStringLiteral("#404040"));

    c.heightButton->click();
    EXPECT_EQ(hex(*c.heightButton->fill()), QStringLiteral("#45494f"));
    EXPECT_EQ(hex(*c.widthButton->fill()), QStringLiteral("#404040"));

    // The popover stores the color; after a restart the accent is the palette's own again.
    store->setString(PreferenceKey::BgColor, QStringLiteral("#0d1117"));
    launch();
    EXPECT_EQ(hex(backgroundFill(*controller->view())), QStringLiteral("#0d1117"));
    EXPECT_EQ(hex(controls().logPanel->fill()), QStringLiteral("#21252b"));
    EXPECT_EQ(hex(*controls().openOutputBtn->fill()), QStringLiteral("#607080"));
    EXPECT_EQ(hex(*controls().heightButton->fill()), QStringLiteral("#607080"));  // Height came back chosen
}

TEST_F(WindowPreferencesTest, ATextColorRecolorsLabelsTogglesAndEveryLogLine)
{
    launch();
    const MainWindowControls& c = controls();
    c.heightButton->click();
    controller->log(QStringLiteral("an earlier line"), Color::fromHex(QStringLiteral("#ff0000")));
    nextTurn();

    const Color black = Color::grey(0.0);
    controller->applyTextColor(black);
    EXPECT_EQ(hex(textColor(*c.titleLabel)), QStringLiteral("#000000"));
    EXPECT_EQ(hex(c.targetField->textColor()), QStringLiteral("#000000"));
    EXPECT_NEAR(textColor(*c.outputLabel).a, 0.55, 1e-4);  // read back through QColor
    EXPECT_EQ(hex(c.heightButton->titleTint()), QStringLiteral("#ffffff"));
    EXPECT_EQ(hex(c.widthButton->titleTint()), QStringLiteral("#000000"));
    EXPECT_DOUBLE_EQ(c.widthButton->titleTint().a, 0.55);

    QTextCursor cursor(c.logView->document());
    while (!cursor.atEnd()) {
        cursor.movePosition(QTextCursor::NextCharacter);
        ASSERT_EQ(cursor.charFormat().foreground().color().name(), QStringLiteral("#000000"))
            << "at " << cursor.position();
    }
}

}  // namespace
}  // namespace voveriz
