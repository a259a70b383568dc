#include "ui/ColorWell.h"

#include <QColorDialog>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace voveriz {
namespace {

class ColorWellTest : public ::testing::Test {
protected:
    ColorWellTest()
        : window(std::make_unique<QWidget>())
        , well(new ColorWell(Color::fromHex(QStringLiteral("#111111")), window.get()))
    {
        QObject::connect(well, &ColorWell::colorChanged, [this](const Color& c) { reported.push_back(c); });
    }

    QColorDialog& open()
    {
        well->click();
        return *well->dialog();
    }

    std::unique_ptr<QWidget> window;
    ColorWell* well;
    std::vector<Color> reported;
};

TEST_F(ColorWellTest, PressOpensQtsOwnNonModalDialogOnTheWellsColor)
{
    QColorDialog& dialog = open();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.testOption(QColorDialog::DontUseNativeDialog));
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.currentColor(), QColor(0x11, 0x11, 0x11));
    EXPECT_EQ(dialog.parentWidget(), window.get());
    EXPECT_TRUE(reported.empty());  // opening is not a choice
}

TEST_F(ColorWellTest, EveryColorMovedThroughIsShownAndReported)
{
    QColorDialog& dialog = open();
    dialog.setCurrentColor(QColor(0x20, 0x40, 0x60));
    dialog.setCurrentColor(QColor(0x21, 0x40, 0x60));
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0].hexString(), QStringLiteral("#204060"));
    EXPECT_EQ(reported[1].hexString(), QStringLiteral("#214060"));
    EXPECT_EQ(well->color().hexString(), QStringLiteral("#214060"));
}

TEST_F(ColorWellTest, PickedColorsKeepTheirBytesAndFinerOnesAreTruncated)
{
    QColorDialog& dialog = open();
    const struct {
        QColor picked;
        const char* hex;
    } cases[] = {
        {QColor(127, 0, 0), "#7f0000"},
        {QColor(128, 0, 0), "#800000"},
        {QColor(255, 254, 1), "#fffe01"},
        // A color finer than a byte, as a wide-gamut or floating-point picker hands it over.
        {QColor::fromRgbF(0.5f, 0.0f, 0.0f), "#7f0000"},
        {QColor::fromRgbF(0.999f, 0.002f, 0.5f), "#fe007f"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hex);
        emit dialog.currentColorChanged(c.picked);
        ASSERT_FALSE(reported.empty());
        EXPECT_EQ(reported.back().hexString(), QString::fromLatin1(c.hex));
    }
}

TEST_F(ColorWellTest, CancelBringsBackAndReportsTheColorAtOpening)
{
    QColorDialog& dialog = open();
    dialog.setCurrentColor(QColor(0xaa, 0x00, 0x00));
    dialog.reject();
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported.back().hexString(), QStringLiteral("#111111"));
    EXPECT_EQ(well->color().hexString(), QStringLiteral("#111111"));

    // OK keeps the choice, and a second opening starts from it.
    open().setCurrentColor(QColor(0x00, 0xbb, 0x00));
    dialog.accept();
    EXPECT_EQ(well->color().hexString(), QStringLiteral("#00bb00"));
    EXPECT_EQ(open().currentColor(), QColor(0x00, 0xbb, 0x00));
    dialog.reject();
    EXPECT_EQ(reported.size(), 3u);  // nothing changed, nothing reported
}

TEST_F(ColorWellTest, SetColorShowsWithoutReporting)
{
    well->setColor(Color::fromHex(QStringLiteral("#0d1117")));
    EXPECT_EQ(well->color().hexString(), QStringLiteral("#0d1117"));
    EXPECT_TRUE(reported.empty());
}

TEST_F(ColorWellTest, DialogBelongsToTheWindowUnderAPopupAndDiesWithTheWell)
{
    QWidget popup(window.get(), Qt::Popup);
    auto* inner = new ColorWell(Color{}, &popup);
    inner->openDialog();
    QPointer<QColorDialog> dialog = inner->dialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->parentWidget(), window.get());
    delete inner;
    EXPECT_TRUE(dialog.isNull());
}

}  // namespace
}  // namespace voveriz
