// From a drop on the window to files in the Resized folder and lines in the log, through the
// real controller, its worker and its log.
// libvips's headers come before Qt's: glib has members named after Qt's "signals" keyword.
#include "support/TestFiles.h"

#include "ui/ControllerFixture.h"
#include "ui/WaitUntil.h"

#include "ui/FlatButton.h"
#include "ui/MainWindowControls.h"
#include "ui/SettingsPopover.h"
#include "ui/SettingsViewController.h"
#include "ui/SwatchButton.h"
#include "ui/TargetField.h"
#include "ui/WidgetColors.h"

#include "batch/BatchRun.h"

#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>

#include <condition_variable>
#include <mutex>


namespace voveriz {
namespace {

namespace fs = std::filesystem;
using testing::imageSize;
using testing::listFolder;
using testing::PixelSize;
using testing::TempDir;
using testing::waitUntil;

// Holds every dropped file at its start, after it has read the settings, until the test opens it.
class FileGate {
public:
    BatchWorkers::FileProcessor processor()
    {
        return [this](const fs::path& file, const BatchSettingsSnapshot& settings) {
            std::unique_lock lock(m_mutex);
            ++m_started;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return m_open; });
            lock.unlock();
            return processDroppedFile(file, settings);
        };
    }
    // Whether `count` files are held (every worker busy), within 20 s.
    bool waitForHeld(int count)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(20), [&] { return m_started >= count; });
    }
    int started()
    {
        std::lock_guard lock(m_mutex);
        return m_started;
    }
    void open()
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_started = 0;
    bool m_open = false;
};

class DropToResizeTest : public testing::ControllerFixture {
protected:
    DropToResizeTest()
    {
        fs::create_directory(out.path() / "Resized");
        controller->view()->resize(400, 580);
        testing::nextTurn();  // the hint line
    }

    void chooseOutputFolder()
    {
        desktop->nextChoice = QString::fromStdString((out.path() / "Resized").string());
        controls().changeOutputBtn->click();
    }

    // A drop as the platform delivers it to the window's root view.
    void drop(const std::vector<fs::path>& files)
    {
        QList<QUrl> urls;
        for (const fs::path& file : files) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(file.string())));
        QMimeData data;
        data.setUrls(urls);
        DropView* root = controller->view();
        const QPoint at(200, 100);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(root, &enter);
        QDropEvent dropEvent(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(root, &dropEvent);
        ASSERT_TRUE(dropEvent.isAccepted());
    }

    // The log's lines after the hint line, each result as one string (an "ok" result is two lines).
    QStringList lines() const
    {
        QStringList all = controls().logView->toPlainText().split(QLatin1Char('\n'));
        all.removeFirst();  // the hint line
        all.removeLast();   // after the last line feed
        QStringList joined;
        for (const QString& line : all) {
            if (line.startsWith(QLatin1String("   ")) && !joined.isEmpty()) {
                joined.last() += QLatin1Char('\n') + line;
            } else {
                joined.push_back(line);
            }
        }
        return joined;
    }

    bool waitForLines(int count, int timeoutMs = 20000)
    {
        return waitUntil([&] { return lines().size() >= count; }, timeoutMs);
    }

    fs::path photo(const std::string& name, int width, int height)
    {
        fs::path file = in / name;
        testing::writeImage(file, width, height);
        return file;
    }

    fs::path resized() const { return out.path() / "Resized"; }

    void dropTwiceAtOnce(int count);

    TempDir in;
    TempDir out;
};

TEST_F(DropToResizeTest, WithoutAFolderEveryFileAsksForOne)
{
    const std::vector<fs::path> files{photo("a.png", 60, 40), photo("b.png", 60, 40), in / "nothing.txt"};
    controls().targetField->setText(QStringLiteral("abc"));  // the folder check comes first
    drop(files);
    ASSERT_TRUE(waitForLines(3));
    EXPECT_EQ(lines(), QStringList(3, QStringLiteral("Please choose a Resized Folder first.")));
    EXPECT_TRUE(listFolder(resized()).empty());
}

TEST_F(DropToResizeTest, AnInvalidSizeIsReportedPerFile)
{
    chooseOutputFolder();
    controls().targetField->setText(QStringLiteral("800px"));
    drop({photo("a.png", 60, 40), photo("b.png", 60, 40)});
    ASSERT_TRUE(waitForLines(2));
    EXPECT_EQ(lines(), QStringList(2, QStringLiteral("Enter a valid pixel number first.")));
    EXPECT_TRUE(listFolder(resized()).empty());
}

TEST_F(DropToResizeTest, ImagesAreResizedCopiedOrSkippedInDropOrder)
{
    chooseOutputFolder();
    controls().targetField->setText(QStringLiteral(" 300\t"));  // the field's text as typed, no editing end
    fs::create_directory(in / "Holiday");
    testing::writeFile(in / "notes.txt", "not a photo");
    drop({photo("wide.png", 1200, 800), photo("small.jpg", 200, 100), in / "Holiday", in / "notes.txt",
          photo("tall.jpg", 600, 900)});
    ASSERT_TRUE(waitForLines(5));
    EXPECT_EQ(lines(), (QStringList{
                           QStringLiteral("\u2713  wide.png 1200x800\n   wide.png 300x200"),
                           QStringLiteral("-  small.jpg - already 200px wide, copied as-is"),
                           QStringLiteral("-  Holiday - not an image, skipped"),
                           QStringLiteral("-  notes.txt - not an image, skipped"),
                           QStringLiteral("\u2713  tall.jpg 600x900\n   tall.jpg 300x450"),
                       }));
    EXPECT_EQ(listFolder(resized()), (std::vector<std::string>{"small.jpg", "tall.jpg", "wide.png"}));
    EXPECT_EQ(imageSize(resized() / "wide.png"), (PixelSize{300, 200}));
    EXPECT_EQ(imageSize(resized() / "tall.jpg"), (PixelSize{300, 450}));
    EXPECT_EQ(testing::readFile(resized() / "small.jpg"), testing::readFile(in / "small.jpg"));
}

TEST_F(DropToResizeTest, HeightModeAndEveryLineInTheCurrentTextColor)
{
    chooseOutputFolder();
    controls().heightButton->click();
    controls().targetField->setText(QStringLiteral("100"));
    controller->applyTextColor(Color::grey(0.5));
    drop({photo("a.png", 400, 200)});
    ASSERT_TRUE(waitForLines(1));
    EXPECT_EQ(lines().first(), QStringLiteral("\u2713  a.png 400x200\n   a.png 200x100"));
    QTextCursor cursor(controls().logView->document());
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::PreviousCharacter);
    EXPECT_EQ(cursor.charFormat().foreground().color(), Color::grey(0.5).toQColor());
}

TEST_F(DropToResizeTest, ASizeTypedDuringABatchAppliesToTheFilesNotYetReached)
{
    FileGate gate;
    controller->processFilesWith(gate.processor());
    chooseOutputFolder();
    controls().targetField->setText(QStringLiteral("800"));
    std::vector<fs::path> files;
    for (int i = 0; i < 12; ++i) files.push_back(photo("p" + std::to_string(i) + ".jpg", 1600, 1000));
    drop(files);
    const int inHand = std::min(static_cast<int>(BatchWorkers::coreCount()), static_cast<int>(files.size()));
    ASSERT_TRUE(gate.waitForHeld(inHand));
    controls().targetField->setText(QStringLiteral("400"));  // typed, editing not ended
    gate.open();
    ASSERT_TRUE(waitForLines(12));

    // The files in hand when the size was typed keep 800; every later one takes 400.
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(imageSize(resized() / ("p" + std::to_string(i) + ".jpg")).width, i < inHand ? 800 : 400) << i;
    }
}

// Drops the same `count` photos twice at once into one folder and checks that every file is
// there under its own name, nothing overwritten, and each drop's lines in its own order.
void DropToResizeTest::dropTwiceAtOnce(int count)
{
    chooseOutputFolder();
    controls().targetField->setText(QStringLiteral("16"));
    std::vector<fs::path> files;
    for (int i = 0; i < count; ++i) files.push_back(photo("same" + std::to_string(i) + ".png", 40, 30));
    drop(files);
    drop(files);
    ASSERT_TRUE(waitForLines(2 * count, 300000));

    const std::vector<std::string> written = listFolder(resized());
    EXPECT_EQ(written.size(), 2u * count);
    for (int i = 0; i < count; ++i) {
        const std::string base = "same" + std::to_string(i);
        EXPECT_TRUE(fs::exists(resized() / (base + ".png")));
        EXPECT_TRUE(fs::exists(resized() / (base + " (1).png")));
    }
    // However the two interleave, the first line of each file comes from the drop that is ahead
    // and the second from the other, so both runs of lines must climb through the files in order.
    std::vector<int> seen(count, 0);
    int lastOfRun[2] = {-1, -1};
    for (const QString& line : lines()) {
        const int i = line.section(QLatin1Char(' '), 2, 2).mid(4).section(QLatin1Char('.'), 0, 0).toInt();
        const int run = seen[i]++;
        ASSERT_LT(run, 2) << line.toStdString();
        ASSERT_GT(i, lastOfRun[run]) << line.toStdString();
        lastOfRun[run] = i;
    }
}

TEST_F(DropToResizeTest, TwoDropsAtOnceIntoOneFolderOverwriteNothing)
{
    dropTwiceAtOnce(15);
}

TEST_F(DropToResizeTest, TwoDropsOfFiveHundredAtOnce)
{
    dropTwiceAtOnce(500);
}

TEST_F(DropToResizeTest, ClosingTheWindowSkipsTheFilesNotYetReached)
{
    FileGate gate;
    controller->processFilesWith(gate.processor());
    chooseOutputFolder();
    controls().targetField->setText(QStringLiteral("800"));
    std::vector<fs::path> files;
    for (int i = 0; i < 40; ++i) files.push_back(photo("c" + std::to_string(i) + ".jpg", 1600, 1000));
    drop(files);
    const int inHand = std::min(static_cast<int>(BatchWorkers::coreCount()), static_cast<int>(files.size()));
    ASSERT_TRUE(gate.waitForHeld(inHand));
    // The held files go on only once the window is going: none of the others may start then.
    QObject::connect(controller->view(), &QObject::destroyed, [&] { gate.open(); });
    controller.reset();
    EXPECT_EQ(gate.started(), inHand);
    EXPECT_EQ(listFolder(resized()).size(), static_cast<std::size_t>(inHand));
}

TEST_F(DropToResizeTest, ThePopoverRepaintsTheWindowThenStoresTheChoice)
{
    controls().gearBtn->click();
    SettingsPopover* popover = controller->settingsPopover();
    ASSERT_NE(popover, nullptr);
    EXPECT_TRUE(popover->isVisible());
    popover->content().swatches()[2]->click();
    EXPECT_EQ(backgroundFill(*controller->view()).hexString(), QStringLiteral("#0d1117"));
    EXPECT_EQ(store->string(PreferenceKey::BgColor), QStringLiteral("#0d1117"));
    popover->hide();
    controls().gearBtn->click();
    EXPECT_EQ(controller->settingsPopover(), popover);  // the same one, shown again
}

}  // namespace
}  // namespace voveriz
