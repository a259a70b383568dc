#include "ui/ControlStyling.h"

#include "appearance/Palette.h"
#include "ui/FlatButton.h"
#include "ui/RoundedPanel.h"

#include <QFontInfo>
#include <QImage>
#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <memory>

using voveriz::Color;
using voveriz::FlatButton;
using voveriz::Palette;
using voveriz::RoundedPanel;

namespace {

const Color kWhite{1.0, 1.0, 1.0, 1.0};

// The color actually painted at a point of the control, drawn at the given size.
QColor paintedAt(QWidget& widget, QSize size, QPoint point)
{
    widget.resize(size);
    return widget.grab().toImage().pixelColor(point);
}

TEST(ControlStylingTest, ToggleLooksFollowTheChoice)
{
    const Palette palette;
    const std::unique_ptr<FlatButton> width(voveriz::toggleButton("Width", true, palette));
    const std::unique_ptr<FlatButton> height(voveriz::toggleButton("Height", false, palette));

    EXPECT_EQ(width->text(), "Width");
    EXPECT_EQ(width->fill(), palette.accent());
    EXPECT_EQ(width->titleTint(), kWhite);
    EXPECT_EQ(height->text(), "Height");
    EXPECT_EQ(height->fill(), palette.btnOff());
    EXPECT_EQ(height->titleTint(), palette.textDim());
    for (const FlatButton* button : {width.get(), height.get()}) {
        EXPECT_EQ(button->cornerRadius(), 6.0);
        EXPECT_EQ(button->titlePixelSize(), 13);
        EXPECT_TRUE(button->font().bold());
        // One of a choice of two: checked when chosen, for screen readers and the arrow keys.
        EXPECT_TRUE(button->isCheckable());
        EXPECT_TRUE(button->autoExclusive());
        EXPECT_EQ(button->isChecked(), button == width.get());
        EXPECT_EQ(button->parent(), nullptr);
    }
}

TEST(ControlStylingTest, RepaintedToggleTakesThePaletteAsItIsNow)
{
    Palette palette;
    const std::unique_ptr<FlatButton> button(voveriz::toggleButton("Width", false, palette));
    palette.setAccent(Color::fromHex("#45494f"));
    palette.setTextColor(Color::grey(0.3));
    voveriz::paintToggle(*button, true, palette);
    EXPECT_EQ(button->fill(), Color::fromHex("#45494f"));
    EXPECT_EQ(button->titleTint(), kWhite);
    voveriz::paintToggle(*button, false, palette);
    EXPECT_EQ(button->fill(), palette.btnOff());
    EXPECT_EQ(button->titleTint(), Color::grey(0.3).withAlpha(0.55));
}

TEST(ControlStylingTest, AccentButtonAndPanel)
{
    const Palette palette;
    const std::unique_ptr<FlatButton> change(voveriz::accentButton("Change...", palette));
    EXPECT_EQ(change->text(), "Change...");
    EXPECT_EQ(change->fill(), palette.accent());
    EXPECT_EQ(change->titleTint(), kWhite);
    EXPECT_EQ(change->cornerRadius(), 6.0);
    EXPECT_EQ(change->titlePixelSize(), 11);
    EXPECT_TRUE(change->font().bold());
    EXPECT_EQ(QFontInfo(change->font()).family(), "DejaVu Sans");

    const std::unique_ptr<RoundedPanel> panel(voveriz::roundedPanel(palette));
    EXPECT_EQ(panel->fill(), palette.panelBg());
    EXPECT_EQ(panel->cornerRadius(), 10.0);
    EXPECT_EQ(panel->parent(), nullptr);
}

TEST(ControlStylingTest, ClickingIsAnOrdinaryPress)
{
    const Palette palette;
    const std::unique_ptr<FlatButton> button(voveriz::accentButton("Open", palette));
    button->resize(76, 24);
    int clicks = 0;
    QObject::connect(button.get(), &QPushButton::clicked, [&clicks] { ++clicks; });
    const QPointF centre(38, 12);
    QMouseEvent press(QEvent::MouseButtonPress, centre, button->mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, button->mapToGlobal(centre), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button.get(), &press);
    QApplication::sendEvent(button.get(), &release);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->isDown());
}

TEST(ControlStylingTest, PaintsTheFillInsideRoundedCornersAndTheTitleInItsTint)
{
    const Palette palette;
    const std::unique_ptr<FlatButton> button(voveriz::toggleButton("Width", true, palette));
    EXPECT_EQ(paintedAt(*button, {76, 24}, {4, 12}), palette.accent().toQColor());
    EXPECT_NE(paintedAt(*button, {76, 24}, {0, 0}), palette.accent().toQColor());

    // The title is drawn in white over the fill: some pixels near the centre are (nearly) white.
    const QImage image = button->grab().toImage();
    int whiteish = 0;
    for (int x = 20; x < 56; ++x) {
        for (int y = 4; y < 20; ++y) {
            if (image.pixelColor(x, y).lightness() > 230) ++whiteish;
        }
    }
    EXPECT_GT(whiteish, 10);

    const std::unique_ptr<RoundedPanel> panel(voveriz::roundedPanel(palette));
    panel->setFill(Color::fromHex("#21252b"));
    EXPECT_EQ(paintedAt(*panel, {368, 90}, {184, 45}), QColor(0x21, 0x25, 0x2b));
    EXPECT_NE(paintedAt(*panel, {368, 90}, {0, 0}), QColor(0x21, 0x25, 0x2b));
    EXPECT_EQ(paintedAt(*panel, {368, 90}, {10, 1}), QColor(0x21, 0x25, 0x2b));  // past the curve

    // Without a fill only the title shows.
    button->setFill(std::nullopt);
    EXPECT_NE(paintedAt(*button, {76, 24}, {4, 12}), palette.accent().toQColor());
}

}  // namespace
