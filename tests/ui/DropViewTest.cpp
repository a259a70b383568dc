#include "ui/DropView.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace voveriz {
namespace {

std::unique_ptr<QMimeData> urlData(const QList<QUrl>& urls)
{
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}

struct LocationCase {
    const char* name;
    QList<QUrl> urls;
    DroppedFiles expected;
};

class FileLocationsTest : public ::testing::TestWithParam<LocationCase> {};

TEST_P(FileLocationsTest, KeepsLocalFilesAndFoldersInDragOrder)
{
    const auto data = urlData(GetParam().urls);
    EXPECT_EQ(DropView::fileLocations(data.get()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Drags, FileLocationsTest,
    ::testing::Values(
        LocationCase{"ThreeFilesInOrder",
                     {QUrl("file:///p/c.jpg"), QUrl("file:///p/a.jpg"), QUrl("file:///p/b.png")},
                     {"/p/c.jpg", "/p/a.jpg", "/p/b.png"}},
        LocationCase{"FolderIsOneLocation", {QUrl("file:///home/ann/Pictures/")}, {"/home/ann/Pictures/"}},
        LocationCase{"WebLinkOnly", {QUrl("https://example.org/a.jpg")}, {}},
        LocationCase{"WebLinksLeftOut",
                     {QUrl("https://example.org/a.jpg"), QUrl("file:///p/b.jpg"), QUrl("ftp://h/c.jpg")},
                     {"/p/b.jpg"}},
        LocationCase{"LocalhostIsThisMachine", {QUrl("file://localhost/p/a.jpg")}, {"/p/a.jpg"}},
        LocationCase{"OtherMachineLeftOut", {QUrl("file://far-away-host/p/a.jpg")}, {}},
        LocationCase{"SpacesAndUnicode", {QUrl("file:///p/my%20photo%20%C3%BE.jpg")}, {"/p/my photo \u00fe.jpg"}},
        LocationCase{"NameThatIsNotUtf8KeepsItsBytes", {QUrl("file:///p/caf%E9.jpg")}, {"/p/caf\xe9.jpg"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileLocationsTest, DataWithoutLocationsGivesNone)
{
    QMimeData text;
    text.setText(QStringLiteral("/p/a.jpg"));
    EXPECT_TRUE(DropView::fileLocations(&text).empty());
    EXPECT_TRUE(DropView::fileLocations(nullptr).empty());
}

class DropViewTest : public ::testing::Test {
protected:
    DropViewTest()
    {
        view.setOnDrop([this](const DroppedFiles& files) { drops.push_back(files); });
    }

    // A drag entering the target, moving over it and dropping there; answers whether the drop
    // was taken.
    static bool drop(QWidget& target, const QMimeData& data, Qt::DropAction* action = nullptr)
    {
        const QPoint at(4, 4);
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &enter);
        QDragMoveEvent move(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &move);
        QDropEvent event(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        event.ignore();
        QCoreApplication::sendEvent(&target, &event);
        if (action) *action = event.dropAction();
        return event.isAccepted();
    }

    DropView view;
    std::vector<DroppedFiles> drops;
};

TEST_F(DropViewTest, OneDropIsOneCallWithTheWholeListAsCopy)
{
    const auto data = urlData({QUrl("file:///p/1.jpg"), QUrl("file:///p/2.jpg"), QUrl("file:///p/3.jpg")});
    Qt::DropAction action = Qt::IgnoreAction;
    EXPECT_TRUE(drop(view, *data, &action));
    EXPECT_EQ(action, Qt::CopyAction);
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0], (DroppedFiles{"/p/1.jpg", "/p/2.jpg", "/p/3.jpg"}));
}

TEST_F(DropViewTest, DropWithoutLocationsIsRefusedAndCallsNothing)
{
    const auto web = urlData({QUrl("https://example.org/a.jpg")});
    QMimeData text;
    text.setText(QStringLiteral("hello"));
    EXPECT_FALSE(drop(view, *web));
    EXPECT_FALSE(drop(view, text));
    EXPECT_TRUE(drops.empty());
}

TEST_F(DropViewTest, DragIsOfferedOnlyWhenItCarriesALocation)
{
    const auto files = urlData({QUrl("file:///p/a.jpg")});
    const auto web = urlData({QUrl("https://example.org/a.jpg")});
    for (const auto& [data, offered] : {std::pair{files.get(), true}, std::pair{web.get(), false}}) {
        QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QCoreApplication::sendEvent(&view, &enter);
        EXPECT_EQ(enter.isAccepted(), offered);
    }
}

TEST_F(DropViewTest, DropWithNoHandlerIsStillTaken)
{
    DropView bare;
    const auto data = urlData({QUrl("file:///p/a.jpg")});
    EXPECT_TRUE(drop(bare, *data));
}

TEST_F(DropViewTest, ChildTextFieldLeavesFileDropsToTheViewButKeepsTextDrops)
{
    auto* field = new QLineEdit(QStringLiteral("1080"), &view);
    view.takeFileDropsFrom({field});

    const auto files = urlData({QUrl("file:///p/a.jpg"), QUrl("file:///p/b.jpg")});
    files->setText(QStringLiteral("/p/a.jpg\n/p/b.jpg"));  // file managers offer the paths as text too
    EXPECT_TRUE(drop(*field, *files));
    EXPECT_EQ(field->text(), QStringLiteral("1080"));
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0], (DroppedFiles{"/p/a.jpg", "/p/b.jpg"}));

    QMimeData text;
    text.setText(QStringLiteral("720"));
    field->clear();
    drop(*field, text);
    EXPECT_EQ(field->text(), QStringLiteral("720"));
    EXPECT_EQ(drops.size(), 1u);
}

}  // namespace
}  // namespace voveriz
