#include "ui/ActivityLog.h"

#include "ui/WaitUntil.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <thread>

namespace voveriz {
namespace {

using testing::nextTurn;
using testing::waitUntil;

const Color kGrey = Color::grey(0.878);
const Color kRed = Color::fromHex(QStringLiteral("#ff0000"));

class ActivityLogTest : public ::testing::Test {
protected:
    ActivityLogTest()
        : view(new QPlainTextEdit)
        , log(*new ActivityLog(view))  // owned by the view
    {
        view->resize(352, 240);
    }
    ~ActivityLogTest() override { delete view; }

    QString text() const { return view->toPlainText(); }

    // The color and font of the block's first character.
    QTextCharFormat lineFormat(int block) const
    {
        return view->document()->findBlockByNumber(block).begin().fragment().charFormat();
    }

    QPlainTextEdit* view;
    ActivityLog& log;
};

struct LineCase {
    const char* name;
    QString text;
    QString expected;
};

class LineFormatTest : public ActivityLogTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineFormatTest, TextGetsOneLineFeedAndNothingElse)
{
    log.log(GetParam().text, kGrey);
    nextTurn();
    EXPECT_EQ(text(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, LineFormatTest,
                         ::testing::Values(LineCase{"Plain", "abc", "abc\n"}, LineCase{"Empty", "", "\n"},
                                           LineCase{"WithLineFeeds", "a\nb", "a\nb\n"},
                                           LineCase{"Marked", "\u2713  a.jpg", "\u2713  a.jpg\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ActivityLogTest, LineArrivesOnTheNextTurnNotDuringTheCall)
{
    log.log(QStringLiteral("abc"), kGrey);
    EXPECT_EQ(text(), QString());
    nextTurn();
    EXPECT_EQ(text(), QStringLiteral("abc\n"));
}

TEST_F(ActivityLogTest, EachLineKeepsItsOwnColorInThe13PixelMonospacedFont)
{
    log.log(QStringLiteral("first"), kGrey);
    log.log(QStringLiteral("second"), kRed);
    nextTurn();
    EXPECT_EQ(lineFormat(0).foreground().color(), kGrey.toQColor());
    EXPECT_EQ(lineFormat(1).foreground().color(), kRed.toQColor());
    const QFont font = lineFormat(0).font();
    EXPECT_EQ(font.pixelSize(), 13);
    EXPECT_TRUE(QFontInfo(font).fixedPitch());
    EXPECT_FALSE(font.bold());
}

TEST_F(ActivityLogTest, ClearEmptiesAndTheNextLineStartsAtTheTop)
{
    log.log(QStringLiteral("old"), kGrey);
    nextTurn();
    log.clear();
    EXPECT_EQ(text(), QString());
    log.log(QStringLiteral("new"), kGrey);
    nextTurn();
    EXPECT_EQ(text(), QStringLiteral("new\n"));
}

TEST_F(ActivityLogTest, LinesFromOtherThreadsArriveInOrderOnTheInterfaceThread)
{
    std::thread worker([this] {
        for (int i = 0; i < 50; ++i) log.log(QString::number(i), kGrey);
    });
    worker.join();
    ASSERT_TRUE(waitUntil([this] { return view->document()->blockCount() == 51; }));
    QString expected;
    for (int i = 0; i < 50; ++i) expected += QString::number(i) + QLatin1Char('\n');
    EXPECT_EQ(text(), expected);
}

TEST_F(ActivityLogTest, NewLineScrollsBackToTheEnd)
{
    view->show();
    for (int i = 0; i < 200; ++i) log.log(QStringLiteral("line %1").arg(i), kGrey);
    nextTurn();
    QScrollBar* bar = view->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(0);
    log.log(QStringLiteral("newest"), kGrey);
    nextTurn();
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(ActivityLogTest, RecolorAllGivesEveryEarlierLineTheNewColor)
{
    log.log(QStringLiteral("one"), kGrey);
    log.log(QStringLiteral("two"), kRed);
    nextTurn();
    const Color black = Color::grey(0.0);
    log.recolorAll(black);
    EXPECT_EQ(lineFormat(0).foreground().color(), black.toQColor());
    EXPECT_EQ(lineFormat(1).foreground().color(), black.toQColor());
    EXPECT_EQ(view->palette().color(QPalette::Text), black.toQColor());
}

TEST_F(ActivityLogTest, ViewIsReadOnlySelectableAndTakesNoDrops)
{
    EXPECT_TRUE(view->isReadOnly());
    EXPECT_TRUE(view->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_FALSE(view->acceptDrops());
    EXPECT_FALSE(view->viewport()->acceptDrops());
}

}  // namespace
}  // namespace voveriz
