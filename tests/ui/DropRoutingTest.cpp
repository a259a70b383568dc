#include "ui/ControllerFixture.h"
#include "ui/WaitUntil.h"

#include "ui/RoundedPanel.h"
#include "ui/TargetField.h"

#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>
#include <QWindow>

namespace voveriz {
namespace {

using testing::waitUntil;

// Drops over the controls of the real window: file drops must reach the root view whatever
// lies under the pointer.
class DropRoutingTest : public testing::ControllerFixture {
protected:
    DropRoutingTest()
    {
        data.setUrls({QUrl("file:///photos/b.jpg"), QUrl("file:///photos/a.jpg")});
        data.setText(QStringLiteral("/photos/b.jpg\n/photos/a.jpg"));
        root = controller->view();
        root->setOnDrop([this](const DroppedFiles& files) { drops.push_back(files); });
        root->show();
        EXPECT_TRUE(waitUntil([this] { return root->windowHandle() && root->windowHandle()->isExposed(); }));
    }

    // A drag that enters the window, moves to the middle of the widget and drops there, as the
    // platform delivers it: to the window, which finds the widget under the pointer.
    bool dropThroughWindow(QWidget* over)
    {
        const QPoint at = over->mapTo(root, over->rect().center());
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        QWindow* window = root->windowHandle();
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        QDragMoveEvent move(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &move);
        QDropEvent drop(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &drop);
        return drop.isAccepted();
    }

    // The same events handed straight to the widget.
    bool dropOnto(QWidget* widget)
    {
        const QPoint at = widget->rect().center();
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &enter);
        QDropEvent drop(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        drop.ignore();
        QCoreApplication::sendEvent(widget, &drop);
        return drop.isAccepted();
    }

    const DroppedFiles expected{"/photos/b.jpg", "/photos/a.jpg"};
    QMimeData data;
    DropView* root = nullptr;
    std::vector<DroppedFiles> drops;
};

TEST_F(DropRoutingTest, DropsOverEveryPartOfTheWindowReachTheRoot)
{
    const MainWindowControls& c = controls();
    const QList<QWidget*> targets{c.targetField, c.logView->viewport(), c.logPanel, c.settingsPanel,
                                  c.titleLabel};
    for (QWidget* over : targets) {
        drops.clear();
        EXPECT_TRUE(dropThroughWindow(over)) << over->metaObject()->className();
        ASSERT_EQ(drops.size(), 1u) << over->metaObject()->className();
        EXPECT_EQ(drops[0], expected);
    }
    EXPECT_EQ(c.targetField->text(), QStringLiteral("1080"));
    EXPECT_EQ(c.logView->toPlainText().contains(QStringLiteral("/photos")), false);
}

TEST_F(DropRoutingTest, DropsHandedToTheFieldOrTheLogReachTheRoot)
{
    for (QWidget* widget : {static_cast<QWidget*>(controls().targetField), controls().logView->viewport()}) {
        drops.clear();
        EXPECT_TRUE(dropOnto(widget)) << widget->metaObject()->className();
        ASSERT_EQ(drops.size(), 1u);
        EXPECT_EQ(drops[0], expected);
    }
    EXPECT_EQ(controls().targetField->text(), QStringLiteral("1080"));
}

}  // namespace
}  // namespace voveriz
