#include "appearance/PreferenceStore.h"
#include "ui/ColorWell.h"
#include "ui/SettingsViewController.h"
#include "ui/SwatchButton.h"
#include "ui/WaitUntil.h"
#include "ui/WidgetColors.h"

#include <QApplication>
#include <QColorDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace voveriz {
namespace {

constexpr const char* kPresetTexts[] = {"#1e1e2e", "#111111", "#0d1117", "#0d1f1e", "#0d1a0d", "#1a0d10"};

// What a callback saw: the color, and what the store held for its key at that moment.
struct CallbackCall {
    Color color;
    std::optional<QString> storedBg;
    std::optional<double> storedText;
};

class SettingsViewControllerTest : public ::testing::Test {
protected:
    SettingsViewControllerTest() { relaunch(); }

    QString storePath() const { return dir.filePath(QStringLiteral("Voveriz.json")); }

    // A new store over the same file and a new controller with its view built, as the next
    // launch's first press of the gear would make them.
    void relaunch()
    {
        settings.reset();
        store = std::make_unique<PreferenceStore>(storePath());
        settings = std::make_unique<SettingsViewController>(*store);
        settings->onColorChanged = [this](const Color& c) {
            backgroundCalls.push_back({c, store->string(PreferenceKey::BgColor), std::nullopt});
        };
        settings->onTextColorChanged = [this](const Color& c) {
            textCalls.push_back({c, std::nullopt, store->number(PreferenceKey::TextColorValue)});
        };
        settings->view();
    }

    QColorDialog& openWellDialog()
    {
        settings->colorWell()->click();
        return *settings->colorWell()->dialog();
    }

    QTemporaryDir dir;
    std::unique_ptr<PreferenceStore> store;
    std::unique_ptr<SettingsViewController> settings;
    std::vector<CallbackCall> backgroundCalls;
    std::vector<CallbackCall> textCalls;
};

TEST_F(SettingsViewControllerTest, FirstShowFromAnEmptyStore)
{
    QTabWidget& tabs = *settings->tabView();
    ASSERT_EQ(tabs.count(), 2);
    EXPECT_EQ(tabs.currentIndex(), 0);
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("Background Color"));
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("Text Color"));

    for (int i = 0; i < 6; ++i) {
        const SwatchButton& swatch = *settings->swatches()[std::size_t(i)];
        SCOPED_TRACE(kPresetTexts[i]);
        EXPECT_EQ(swatch.toolTip(), QString::fromLatin1(kPresetTexts[i]));
        EXPECT_EQ(swatch.fill(), Color::fromHex(QString::fromLatin1(kPresetTexts[i])));
        // (14 + 38 i, 92, 30, 30) from the bottom of a 150-high tab.
        EXPECT_EQ(swatch.geometry(), QRect(14 + 38 * i, 28, 30, 30));
        EXPECT_EQ(swatch.cornerRadius(), 7.0);
        EXPECT_EQ(swatch.border(), QColor::fromRgbF(1.0f, 1.0f, 1.0f, 0.15f));
        EXPECT_TRUE(swatch.text().isEmpty());
    }

    EXPECT_EQ(settings->colorWell()->color().hexString(), QStringLiteral("#111111"));
    EXPECT_EQ(settings->colorWell()->geometry(), QRect(120, 84, 60, 26));

    const QSlider& slider = *settings->textSlider();
    EXPECT_EQ(slider.minimum(), 0);
    EXPECT_EQ(slider.maximum(), 900);
    EXPECT_EQ(slider.value(), 878);
    EXPECT_TRUE(slider.hasTracking());
    EXPECT_EQ(slider.geometry(), QRect(14, 50, 232, 24));

    const QLabel& sample = *settings->textPreview();
    EXPECT_EQ(sample.text(), QStringLiteral("Sample text"));
    EXPECT_EQ(sample.geometry(), QRect(14, 108, 232, 26));
    EXPECT_EQ(sample.alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_NEAR(textColor(sample).r, 0.878, 1e-4);
    EXPECT_EQ(textColor(sample).g, textColor(sample).r);
    EXPECT_EQ(textColor(sample).b, textColor(sample).r);

    // Building reads the store and writes nothing.
    EXPECT_FALSE(store->string(PreferenceKey::BgColor));
    EXPECT_FALSE(store->number(PreferenceKey::TextColorValue));
    EXPECT_TRUE(backgroundCalls.empty());
    EXPECT_TRUE(textCalls.empty());
}

TEST_F(SettingsViewControllerTest, LabelsKeepTheirOwnColorAndSizes)
{
    const struct {
        const char* text;
        int pixelSize;
        bool bold;
        QRect geometry;
    } expected[] = {
        {"Custom color", 11, false, QRect(14, 88, 100, 18)}, {"Lightness", 12, true, QRect(14, 24, 200, 18)},
        {"Black", 10, false, QRect(14, 78, 60, 14)},         {"Light grey", 10, false, QRect(176, 78, 70, 14)},
    };
    const QList<QLabel*> labels = settings->view()->findChildren<QLabel*>();
    for (const auto& e : expected) {
        SCOPED_TRACE(e.text);
        QLabel* label = nullptr;
        for (QLabel* l : labels) {
            if (l->text() == QString::fromLatin1(e.text)) label = l;
        }
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->font().pixelSize(), e.pixelSize);
        EXPECT_EQ(label->font().bold(), e.bold);
        EXPECT_EQ(label->geometry(), e.geometry);
        EXPECT_EQ(textColor(*label).hexString(), QStringLiteral("#e0e0f0"));
    }
    EXPECT_EQ(labels.size(), 5);
    EXPECT_EQ(backgroundFill(*settings->view()).hexString(), QStringLiteral("#2a2a2a"));
}

TEST_F(SettingsViewControllerTest, FirstShowFromAStoredChoice)
{
    store->setString(PreferenceKey::BgColor, QStringLiteral("#0D1117"));
    store->setNumber(PreferenceKey::TextColorValue, 0.25);
    relaunch();
    EXPECT_EQ(settings->colorWell()->color().hexString(), QStringLiteral("#0d1117"));
    EXPECT_EQ(settings->textSlider()->value(), 250);
    EXPECT_NEAR(textColor(*settings->textPreview()).r, 0.25, 1e-4);
}

TEST_F(SettingsViewControllerTest, ValuesOfTheWrongKindGiveTheDefaults)
{
    store->setNumber(PreferenceKey::BgColor, 13.0);
    store->setString(PreferenceKey::TextColorValue, QStringLiteral("0.25"));
    relaunch();
    EXPECT_EQ(settings->colorWell()->color().hexString(), QStringLiteral("#111111"));
    EXPECT_EQ(settings->textSlider()->value(), 878);
    EXPECT_NEAR(textColor(*settings->textPreview()).r, 0.878, 1e-4);
}

TEST_F(SettingsViewControllerTest, StoredLightnessOutsideTheRangeIsKeptUntilTheSliderMoves)
{
    const struct {
        double stored;
        int position;
        double sampleGrey;  // what a label can show of it
    } cases[] = {{1.5, 900, 1.0}, {0.95, 900, 0.95}, {-0.25, 0, 0.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        store->setNumber(PreferenceKey::TextColorValue, c.stored);
        relaunch();
        EXPECT_EQ(settings->textSlider()->value(), c.position);
        EXPECT_NEAR(textColor(*settings->textPreview()).r, c.sampleGrey, 1e-4);
        EXPECT_EQ(store->number(PreferenceKey::TextColorValue), c.stored);
        relaunch();  // and again: nothing was written over it
        EXPECT_EQ(store->number(PreferenceKey::TextColorValue), c.stored);
        EXPECT_TRUE(textCalls.empty());
    }
    settings->textSlider()->setValue(400);
    EXPECT_EQ(store->number(PreferenceKey::TextColorValue), 0.4);
}

TEST_F(SettingsViewControllerTest, EachSwatchRepaintsFirstThenStoresItsOwnText)
{
    store->setString(PreferenceKey::BgColor, QStringLiteral("#abcdef"));
    relaunch();
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(kPresetTexts[i]);
        const std::optional<QString> before = store->string(PreferenceKey::BgColor);
        settings->swatches()[std::size_t(i)]->click();
        ASSERT_EQ(backgroundCalls.size(), std::size_t(i + 1));
        EXPECT_EQ(backgroundCalls.back().color, Color::fromHex(QString::fromLatin1(kPresetTexts[i])));
        EXPECT_EQ(backgroundCalls.back().storedBg, before);  // called before the store was written
        EXPECT_EQ(store->string(PreferenceKey::BgColor), QString::fromLatin1(kPresetTexts[i]));
        // The well keeps showing what it had.
        EXPECT_EQ(settings->colorWell()->color().hexString(), QStringLiteral("#abcdef"));
    }
    relaunch();
    EXPECT_EQ(settings->colorWell()->color().hexString(), QStringLiteral("#1a0d10"));
}

TEST_F(SettingsViewControllerTest, SwatchWithoutTooltipDoesNothing)
{
    SwatchButton& swatch = *settings->swatches()[2];
    swatch.setToolTip(QString());
    swatch.click();
    EXPECT_TRUE(backgroundCalls.empty());
    EXPECT_FALSE(store->string(PreferenceKey::BgColor));
}

TEST_F(SettingsViewControllerTest, WellPaintsThePickedColorAndStoresItsTruncatedText)
{
    QColorDialog& dialog = openWellDialog();
    const QColor picked(127, 63, 255);
    dialog.setCurrentColor(picked);

    ASSERT_EQ(backgroundCalls.size(), 1u);
    EXPECT_EQ(backgroundCalls[0].color, Color::fromQColor(picked));  // the color itself
    EXPECT_FALSE(backgroundCalls[0].storedBg);                        // before the store write
    EXPECT_EQ(store->string(PreferenceKey::BgColor), QStringLiteral("#7f3fff"));

    relaunch();
    EXPECT_EQ(settings->colorWell()->color().hexString(), QStringLiteral("#7f3fff"));
}

TEST_F(SettingsViewControllerTest, SliderRecolorsTheSampleRepaintsAndStoresTheNumber)
{
    const struct {
        int position;
        double lightness;
    } moves[] = {{0, 0.0}, {450, 0.45}, {900, 0.9}, {1000, 0.9}};  // the last: no higher than 0.9
    double previous = 0.878;
    for (const auto& move : moves) {
        SCOPED_TRACE(move.position);
        const std::size_t callsBefore = textCalls.size();
        settings->textSlider()->setValue(move.position);
        EXPECT_EQ(store->number(PreferenceKey::TextColorValue), move.lightness);
        EXPECT_NEAR(textColor(*settings->textPreview()).r, move.lightness, 1e-4);
        if (move.lightness == previous) {
            EXPECT_EQ(textCalls.size(), callsBefore);  // already at the end: nothing new
            continue;
        }
        ASSERT_EQ(textCalls.size(), callsBefore + 1);
        EXPECT_EQ(textCalls.back().color, Color::grey(move.lightness));
        EXPECT_NE(textCalls.back().storedText, move.lightness);  // before the store write
        previous = move.lightness;

        relaunch();
        EXPECT_EQ(settings->textSlider()->value(), std::min(move.position, 900));
        textCalls.clear();
    }
}

TEST_F(SettingsViewControllerTest, SliderReportsWhileItIsDragged)
{
    QSlider& slider = *settings->textSlider();
    slider.setSliderDown(true);
    slider.setSliderPosition(300);
    slider.setSliderPosition(200);
    EXPECT_EQ(textCalls.size(), 2u);
    EXPECT_EQ(store->number(PreferenceKey::TextColorValue), 0.2);
    slider.setSliderDown(false);
}

TEST_F(SettingsViewControllerTest, ChoicesAreStoredWithoutCallbacks)
{
    settings->onColorChanged = nullptr;
    settings->onTextColorChanged = nullptr;
    settings->swatches()[0]->click();
    settings->textSlider()->setValue(100);
    EXPECT_EQ(store->string(PreferenceKey::BgColor), QStringLiteral("#1e1e2e"));
    EXPECT_EQ(store->number(PreferenceKey::TextColorValue), 0.1);
}

// After the slider was dragged, opening "Background Color" hands the focus to the first swatch;
// an outline there would read as "this color is chosen". Only Tab and Shift+Tab show it.
TEST_F(SettingsViewControllerTest, FocusOutlineShowsOnlyForFocusFromTheKeyboard)
{
    QWidget& root = *settings->view();
    root.show();
    root.activateWindow();
    ASSERT_TRUE(testing::waitUntil([&] { return QApplication::activeWindow() == &root; }));
    SwatchButton& first = *settings->swatches()[0];
    SwatchButton& second = *settings->swatches()[1];
    const QImage firstPlain = first.grab().toImage();
    const QImage secondPlain = second.grab().toImage();

    QTabWidget& tabs = *settings->tabView();
    tabs.setCurrentIndex(1);
    QSlider& slider = *settings->textSlider();
    slider.setFocus(Qt::MouseFocusReason);  // where a drag of the slider leaves the focus
    ASSERT_TRUE(slider.hasFocus());

    tabs.setCurrentIndex(0);
    ASSERT_TRUE(first.hasFocus());
    EXPECT_TRUE(first.grab().toImage() == firstPlain) << "an outline on the first swatch";

    const auto pressTab = [](Qt::KeyboardModifiers modifiers) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Tab, modifiers);
        QApplication::sendEvent(QApplication::focusWidget(), &key);
    };
    pressTab(Qt::NoModifier);
    ASSERT_TRUE(second.hasFocus());
    EXPECT_FALSE(second.grab().toImage() == secondPlain) << "no outline on the second swatch";
    EXPECT_TRUE(first.grab().toImage() == firstPlain) << "an outline on the first swatch";
    pressTab(Qt::ShiftModifier);
    ASSERT_TRUE(first.hasFocus());
    EXPECT_FALSE(first.grab().toImage() == firstPlain) << "no outline on the first swatch";
    EXPECT_TRUE(second.grab().toImage() == secondPlain) << "an outline on the second swatch";
}

}  // namespace
}  // namespace voveriz
