#include "ui/ControllerFixture.h"
#include "ui/WaitUntil.h"

#include "ui/FlatButton.h"
#include "ui/RoundedPanel.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace voveriz {
namespace {

using testing::waitUntil;

// Where layout puts a sample of the controls, in Qt's top-left geometry: children of the root
// and one child of each panel. The two labels placed at construction never move.
struct LaidOut {
    QRect gearBtn, titleLabel, logPanel, heightButton, changeOutputBtn, scrollView;
};

class RelayoutTest : public testing::ControllerFixture {
protected:
    void expectLaidOut(const LaidOut& expected)
    {
        const MainWindowControls& c = controls();
        EXPECT_EQ(c.gearBtn->geometry(), expected.gearBtn);
        EXPECT_EQ(c.titleLabel->geometry(), expected.titleLabel);
        EXPECT_EQ(c.logPanel->geometry(), expected.logPanel);
        EXPECT_EQ(c.heightButton->geometry(), expected.heightButton);
        EXPECT_EQ(c.changeOutputBtn->geometry(), expected.changeOutputBtn);
        EXPECT_EQ(c.logView->geometry(), expected.scrollView);
        EXPECT_EQ(c.sizeLabel->geometry(), QRect(16, 14, 200, 22));
        EXPECT_EQ(c.dimLabel->geometry(), QRect(16, 50, 200, 22));
    }
};

TEST_F(RelayoutTest, ConstructionPlacesEveryControlForTheInitialSize)
{
    DropView* root = controller->view();
    EXPECT_EQ(root->size(), QSize(400, 580));
    // The worked example for 400 x 580.
    expectLaidOut({QRect(364, 8, 24, 24), QRect(16, 14, 368, 32), QRect(16, 290, 368, 274),
                   QRect(276, 50, 76, 24), QRect(278, 14, 76, 24), QRect(8, 26, 352, 240)});
}

TEST_F(RelayoutTest, ResizingTheRootLaysEverythingOutAgain)
{
    DropView* root = controller->view();
    root->show();
    root->resize(520, 760);
    ASSERT_TRUE(waitUntil([&] { return controls().gearBtn->geometry().x() == 484; }));
    expectLaidOut({QRect(484, 8, 24, 24), QRect(16, 14, 488, 32), QRect(16, 290, 488, 454),
                   QRect(396, 50, 76, 24), QRect(398, 14, 76, 24), QRect(8, 26, 472, 420)});
    root->resize(400, 560);  // a title bar shorter than the first height
    ASSERT_TRUE(waitUntil([&] { return controls().logPanel->height() == 254; }));
    expectLaidOut({QRect(364, 8, 24, 24), QRect(16, 14, 368, 32), QRect(16, 290, 368, 254),
                   QRect(276, 50, 76, 24), QRect(278, 14, 76, 24), QRect(8, 26, 352, 220)});
}

TEST_F(RelayoutTest, AClickWhereGearAndTitleOverlapReachesTheGear)
{
    DropView* root = controller->view();
    const QRect overlap = controls().gearBtn->geometry() & controls().titleLabel->geometry();
    ASSERT_FALSE(overlap.isEmpty());
    EXPECT_EQ(root->childAt(overlap.center()), controls().gearBtn);
}

}  // namespace
}  // namespace voveriz
