#include "ui/Layout.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <utility>

using voveriz::Frame;
using voveriz::MainWindowLayout;

namespace {

struct Row {
    const char* name;
    Frame MainWindowLayout::*member;
    Frame expected;  // at 400 x 580
};

// The placement of every control at the initial size.
const Row kInitialFrames[] = {
    {"gearBtn", &MainWindowLayout::gearBtn, {364, 548, 24, 24}},
    {"titleLabel", &MainWindowLayout::titleLabel, {16, 534, 368, 32}},
    {"subtitleView", &MainWindowLayout::subtitleView, {16, 508, 368, 20}},
    {"settingsPanel", &MainWindowLayout::settingsPanel, {16, 404, 368, 90}},
    {"targetField", &MainWindowLayout::targetField, {262, 54, 90, 26}},
    {"widthButton", &MainWindowLayout::widthButton, {194, 16, 76, 24}},
    {"heightButton", &MainWindowLayout::heightButton, {276, 16, 76, 24}},
    {"wfPanel", &MainWindowLayout::wfPanel, {16, 302, 368, 90}},
    {"outputTitleLabel", &MainWindowLayout::outputTitleLabel, {14, 52, 120, 26}},
    {"openOutputBtn", &MainWindowLayout::openOutputBtn, {196, 52, 76, 24}},
    {"changeOutputBtn", &MainWindowLayout::changeOutputBtn, {278, 52, 76, 24}},
    {"outputLabel", &MainWindowLayout::outputLabel, {14, 18, 340, 32}},
    {"logPanel", &MainWindowLayout::logPanel, {16, 16, 368, 274}},
    {"logHeader", &MainWindowLayout::logHeader, {12, 248, 80, 18}},
    {"clearBtn", &MainWindowLayout::clearBtn, {318, 248, 44, 18}},
    {"scrollView", &MainWindowLayout::scrollView, {8, 8, 352, 240}},
};

TEST(LayoutTest, InitialSizeGivesTheKnownFrames)
{
    const MainWindowLayout layout = voveriz::mainWindowLayout(400, 580);
    for (const Row& row : kInitialFrames) {
        const Frame& f = layout.*row.member;
        EXPECT_EQ(f, row.expected) << row.name << " is (" << f.x << ", " << f.y << ", " << f.width << ", "
                                   << f.height << ")";
    }
}

// How each frame follows a change of (W, H) by (dw, dh): dx, dy, dwidth, dheight per unit.
struct Follow {
    Frame MainWindowLayout::*member;
    const char* name;
    int moveRight, moveUp, widen, grow;
};

TEST(LayoutTest, WiderAndTallerWindowMovesAndStretchesTheRightControls)
{
    const Follow follows[] = {
        {&MainWindowLayout::gearBtn, "gearBtn", 1, 1, 0, 0},
        {&MainWindowLayout::titleLabel, "titleLabel", 0, 1, 1, 0},
        {&MainWindowLayout::subtitleView, "subtitleView", 0, 1, 1, 0},
        {&MainWindowLayout::settingsPanel, "settingsPanel", 0, 1, 1, 0},
        {&MainWindowLayout::targetField, "targetField", 1, 0, 0, 0},
        {&MainWindowLayout::widthButton, "widthButton", 1, 0, 0, 0},
        {&MainWindowLayout::heightButton, "heightButton", 1, 0, 0, 0},
        {&MainWindowLayout::wfPanel, "wfPanel", 0, 1, 1, 0},
        {&MainWindowLayout::outputTitleLabel, "outputTitleLabel", 0, 0, 0, 0},
        {&MainWindowLayout::openOutputBtn, "openOutputBtn", 1, 0, 0, 0},
        {&MainWindowLayout::changeOutputBtn, "changeOutputBtn", 1, 0, 0, 0},
        {&MainWindowLayout::outputLabel, "outputLabel", 0, 0, 1, 0},
        {&MainWindowLayout::logPanel, "logPanel", 0, 0, 1, 1},
        {&MainWindowLayout::logHeader, "logHeader", 0, 1, 0, 0},
        {&MainWindowLayout::clearBtn, "clearBtn", 1, 1, 0, 0},
        {&MainWindowLayout::scrollView, "scrollView", 0, 0, 1, 1},
    };
    const MainWindowLayout before = voveriz::mainWindowLayout(400, 580);
    for (const auto& [dw, dh] : {std::pair{120, 0}, std::pair{0, 220}, std::pair{333, 77}}) {
        const MainWindowLayout after = voveriz::mainWindowLayout(400 + dw, 580 + dh);
        for (const Follow& f : follows) {
            const Frame& a = before.*f.member;
            const Frame& b = after.*f.member;
            const Frame expected{a.x + f.moveRight * dw, a.y + f.moveUp * dh, a.width + f.widen * dw,
                                 a.height + f.grow * dh};
            EXPECT_EQ(b, expected) << f.name << " at +" << dw << " x +" << dh;
        }
        EXPECT_EQ(after.logPanel.y, 16);
        EXPECT_LT(after.openOutputBtn.x + after.openOutputBtn.width, after.changeOutputBtn.x);
        EXPECT_LT(after.widthButton.x + after.widthButton.width, after.heightButton.x);
    }
}

TEST(LayoutTest, BottomLeftFramesBecomeTopLeftGeometry)
{
    EXPECT_EQ(voveriz::toQtGeometry({364, 548, 24, 24}, 580), QRect(364, 8, 24, 24));
    EXPECT_EQ(voveriz::toQtGeometry({16, 16, 368, 274}, 580), QRect(16, 290, 368, 274));
    EXPECT_EQ(voveriz::toQtGeometry({0, 0, 10, 10}, 10), QRect(0, 0, 10, 10));
}

class AppliedLayoutTest : public ::testing::Test {
protected:
    AppliedLayoutTest()
    {
        root.resize(400, 580);
        settingsPanel = new QWidget(&root);
        wfPanel = new QWidget(&root);
        logPanel = new QWidget(&root);
        c.gearBtn = new QWidget(&root);
        c.titleLabel = new QWidget(&root);
        c.subtitleView = new QWidget(&root);
        c.settingsPanel = settingsPanel;
        c.targetField = new QWidget(settingsPanel);
        c.widthButton = new QWidget(settingsPanel);
        c.heightButton = new QWidget(settingsPanel);
        c.wfPanel = wfPanel;
        c.outputTitleLabel = new QWidget(wfPanel);
        c.changeOutputBtn = new QWidget(wfPanel);
        c.openOutputBtn = new QWidget(wfPanel);
        c.outputLabel = new QWidget(wfPanel);
        c.logPanel = logPanel;
        c.logHeader = new QWidget(logPanel);
        c.clearBtn = new QWidget(logPanel);
        c.scrollView = new QWidget(logPanel);
    }

    QWidget root;
    QWidget* settingsPanel;
    QWidget* wfPanel;
    QWidget* logPanel;
    voveriz::LaidOutControls c;
};

TEST_F(AppliedLayoutTest, PlacesEveryControlInItsParent)
{
    ASSERT_TRUE(voveriz::applyMainWindowLayout(c, root.size()));
    EXPECT_EQ(c.gearBtn->geometry(), QRect(364, 8, 24, 24));
    EXPECT_EQ(c.titleLabel->geometry(), QRect(16, 14, 368, 32));
    EXPECT_EQ(c.subtitleView->geometry(), QRect(16, 52, 368, 20));
    EXPECT_EQ(settingsPanel->geometry(), QRect(16, 86, 368, 90));
    EXPECT_EQ(c.targetField->geometry(), QRect(262, 10, 90, 26));
    EXPECT_EQ(c.widthButton->geometry(), QRect(194, 50, 76, 24));
    EXPECT_EQ(c.heightButton->geometry(), QRect(276, 50, 76, 24));
    EXPECT_EQ(wfPanel->geometry(), QRect(16, 188, 368, 90));
    EXPECT_EQ(c.outputTitleLabel->geometry(), QRect(14, 12, 120, 26));
    EXPECT_EQ(c.openOutputBtn->geometry(), QRect(196, 14, 76, 24));
    EXPECT_EQ(c.changeOutputBtn->geometry(), QRect(278, 14, 76, 24));
    EXPECT_EQ(c.outputLabel->geometry(), QRect(14, 40, 340, 32));
    EXPECT_EQ(logPanel->geometry(), QRect(16, 290, 368, 274));
    EXPECT_EQ(c.logHeader->geometry(), QRect(12, 8, 80, 18));
    EXPECT_EQ(c.clearBtn->geometry(), QRect(318, 8, 44, 18));
    EXPECT_EQ(c.scrollView->geometry(), QRect(8, 26, 352, 240));
}

TEST_F(AppliedLayoutTest, TallerRootGrowsTheLogDownwardFromItsHeader)
{
    root.resize(500, 800);
    ASSERT_TRUE(voveriz::applyMainWindowLayout(c, root.size()));
    EXPECT_EQ(settingsPanel->geometry(), QRect(16, 86, 468, 90));
    EXPECT_EQ(logPanel->geometry(), QRect(16, 290, 468, 494));
    EXPECT_EQ(c.logHeader->geometry(), QRect(12, 8, 80, 18));
    EXPECT_EQ(c.clearBtn->geometry(), QRect(418, 8, 44, 18));
    EXPECT_EQ(c.scrollView->geometry(), QRect(8, 26, 452, 460));
}

TEST_F(AppliedLayoutTest, BeforeConstructionNothingMoves)
{
    c.titleLabel = nullptr;
    const QRect gearBefore = c.gearBtn->geometry();
    const QRect panelBefore = logPanel->geometry();
    EXPECT_FALSE(voveriz::applyMainWindowLayout(c, root.size()));
    EXPECT_EQ(c.gearBtn->geometry(), gearBefore);
    EXPECT_EQ(logPanel->geometry(), panelBefore);
    EXPECT_FALSE(voveriz::applyMainWindowLayout(voveriz::LaidOutControls{}, root.size()));
}

}  // namespace
