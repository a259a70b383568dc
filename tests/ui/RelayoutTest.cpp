#include "ui/ControllerFixture.h"
#include "ui/WaitUntil.h"

#include "ui/FlatButton.h"
#include "ui/Layout.h"
#include "ui/RoundedPanel.h"

#include <QAbstractScrollArea>
#include <QLabel>

namespace voveriz {
namespace {

using testing::waitUntil;

class RelayoutTest : public testing::ControllerFixture {
protected:
    // The Qt geometry every laid-out control should have for a root of W x H.
    void expectLaidOutFor(int width, int height)
    {
        const MainWindowLayout frames = mainWindowLayout(width, height);
        const MainWindowControls& c = controls();
        const double panel = frames.settingsPanel.height;
        EXPECT_EQ(c.gearBtn->geometry(), toQtGeometry(frames.gearBtn, height));
        EXPECT_EQ(c.titleLabel->geometry(), toQtGeometry(frames.titleLabel, height));
        EXPECT_EQ(c.logPanel->geometry(), toQtGeometry(frames.logPanel, height));
        EXPECT_EQ(c.heightButton->geometry(), toQtGeometry(frames.heightButton, panel));
        EXPECT_EQ(c.changeOutputBtn->geometry(), toQtGeometry(frames.changeOutputBtn, frames.wfPanel.height));
        EXPECT_EQ(c.scrollView->geometry(), toQtGeometry(frames.scrollView, frames.logPanel.height));
        EXPECT_EQ(c.sizeLabel->geometry(), toQtGeometry(kSizeLabelFrame, panel));
        EXPECT_EQ(c.dimLabel->geometry(), toQtGeometry(kDimLabelFrame, panel));
    }
};

TEST_F(RelayoutTest, ConstructionPlacesEveryControlForTheInitialSize)
{
    DropView* root = controller->view();
    EXPECT_EQ(root->size(), QSize(400, 580));
    expectLaidOutFor(400, 580);
    // The worked example, in Qt's top-left terms.
    EXPECT_EQ(controls().gearBtn->geometry(), QRect(364, 8, 24, 24));
    EXPECT_EQ(controls().scrollView->geometry(), QRect(8, 26, 352, 240));
}

TEST_F(RelayoutTest, ResizingTheRootLaysEverythingOutAgain)
{
    DropView* root = controller->view();
    root->show();
    root->resize(520, 760);
    ASSERT_TRUE(waitUntil([&] { return controls().gearBtn->geometry().x() == 520 - 36; }));
    expectLaidOutFor(520, 760);
    root->resize(400, 560);  // a title bar shorter than the first height
    ASSERT_TRUE(waitUntil([&] { return controls().logPanel->height() == 560 - 306; }));
    expectLaidOutFor(400, 560);
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
