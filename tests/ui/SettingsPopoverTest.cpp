#include "appearance/PreferenceStore.h"
#include "ui/ColorWell.h"
#include "ui/SettingsPopover.h"
#include "ui/SettingsViewController.h"
#include "WaitUntil.h"

#include <QApplication>
#include <QColorDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace voveriz {
namespace {

TEST(PopoverGeometryTest, AboveTheAnchorWhenThereIsRoomElseBelowAlwaysOnScreen)
{
    const QRect screen(0, 0, 1280, 1000);
    const struct {
        const char* name;
        QRect anchor;
        QRect screen;
        QPoint topLeft;
    } cases[] = {
        // Centred on the gear, 4 px above it.
        {"room above", QRect(600, 500, 24, 24), screen, QPoint(472, 296)},
        {"exactly room above", QRect(600, 204, 24, 24), screen, QPoint(472, 0)},
        // One pixel short: below, 4 px under the gear.
        {"no room above", QRect(600, 203, 24, 24), screen, QPoint(472, 231)},
        {"at the right edge", QRect(1250, 500, 24, 24), screen, QPoint(1000, 296)},
        {"at the left edge", QRect(2, 500, 24, 24), screen, QPoint(0, 296)},
        // Neither above nor below fits: kept on the screen, over the gear.
        {"short screen", QRect(600, 100, 24, 24), QRect(0, 0, 1280, 300), QPoint(472, 100)},
        // A screen that does not start at the origin (a second monitor, a panel at the top).
        {"second screen", QRect(1300, 240, 24, 24), QRect(1280, 30, 1024, 768), QPoint(1280, 36)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(popoverGeometry(c.anchor, QSize(280, 200), c.screen), QRect(c.topLeft, QSize(280, 200)));
    }
}

class SettingsPopoverTest : public ::testing::Test {
protected:
    SettingsPopoverTest()
        : store(dir.filePath(QStringLiteral("Voveriz.json")))
        , window(std::make_unique<QWidget>())
        , gear(new QPushButton(window.get()))
        , popover(new SettingsPopover(store, window.get()))
    {
        window->setGeometry(100, 300, 400, 580);
        gear->setGeometry(364, 8, 24, 24);
        window->show();
        testing::nextTurn();
    }

    SettingsViewController& content() { return popover->content(); }

    void showPopover()
    {
        popover->showAnchoredTo(gear);
        testing::nextTurn();
    }

    QTemporaryDir dir;
    PreferenceStore store;
    std::unique_ptr<QWidget> window;
    QPushButton* gear;
    SettingsPopover* popover;
};

TEST_F(SettingsPopoverTest, TransientPanelOf280By200AboveTheGear)
{
    showPopover();
    EXPECT_EQ(popover->windowType(), Qt::Popup);
    EXPECT_TRUE(popover->isVisible());
    EXPECT_EQ(popover->size(), QSize(280, 200));
    EXPECT_EQ(content().tabView()->geometry(), QRect(6, 6, 268, 188));

    const QRect gearOnScreen(gear->mapToGlobal(QPoint(0, 0)), gear->size());
    const QRect available = gear->screen()->availableGeometry();
    ASSERT_GE(gearOnScreen.top() - 204, available.top()) << "the test window leaves room above the gear";
    EXPECT_EQ(popover->geometry().bottom(), gearOnScreen.top() - 5);
    EXPECT_LE(std::abs(popover->geometry().center().x() - gearOnScreen.center().x()), 1);
}

TEST_F(SettingsPopoverTest, BelowTheGearWhenTheWindowIsAtTheTopOfTheScreen)
{
    const QRect available = window->screen()->availableGeometry();
    window->move(available.topLeft());
    testing::nextTurn();
    showPopover();
    const QRect gearOnScreen(gear->mapToGlobal(QPoint(0, 0)), gear->size());
    EXPECT_EQ(popover->geometry().top(), gearOnScreen.bottom() + 5);
}

TEST_F(SettingsPopoverTest, EscapeClosesAndReopeningKeepsEveryControl)
{
    showPopover();
    content().tabView()->setCurrentIndex(1);
    content().textSlider()->setValue(300);

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(content().textSlider(), &escape);  // reaches the popover from inside
    testing::nextTurn();
    EXPECT_FALSE(popover->isVisible());

    showPopover();
    EXPECT_EQ(content().tabView()->currentIndex(), 1);
    EXPECT_EQ(content().textSlider()->value(), 300);
    EXPECT_EQ(store.number(PreferenceKey::TextColorValue), 0.3);
    // Shown again, not read again: the store is only read when the content is built.
    store.setNumber(PreferenceKey::TextColorValue, 0.6);
    popover->close();
    showPopover();
    EXPECT_EQ(content().textSlider()->value(), 300);
}

TEST_F(SettingsPopoverTest, ClickOutsideCloses)
{
    showPopover();
    ASSERT_EQ(QApplication::activePopupWidget(), popover);
    const QPointF outside(20, 300);
    QMouseEvent press(QEvent::MouseButtonPress, outside, window->mapToGlobal(outside), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &press);
    testing::nextTurn();
    EXPECT_FALSE(popover->isVisible());
}

TEST_F(SettingsPopoverTest, ColorDialogOutlivesThePopoverAndKeepsReporting)
{
    std::vector<Color> painted;
    content().onColorChanged = [&painted](const Color& c) { painted.push_back(c); };
    showPopover();

    content().colorWell()->click();
    testing::nextTurn();
    QColorDialog* dialog = content().colorWell()->dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(popover->isVisible());  // it stepped aside for the dialog
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->parentWidget(), window.get());

    dialog->setCurrentColor(QColor(0x33, 0x66, 0x99));
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0].hexString(), QStringLiteral("#336699"));
    EXPECT_EQ(store.string(PreferenceKey::BgColor), QStringLiteral("#336699"));

    // Back in the popover the well shows the color picked meanwhile.
    dialog->accept();
    showPopover();
    EXPECT_EQ(content().colorWell()->color().hexString(), QStringLiteral("#336699"));
}

}  // namespace
}  // namespace voveriz
