#include "ui/ClipboardFiles.h"

#include <QMimeData>

#include <gtest/gtest.h>

namespace voveriz {
namespace {

struct ClipboardCase {
    const char* name;
    const char* format;
    QByteArray bytes;
    DroppedFiles expected;
};

class ClipboardFilesTest : public ::testing::TestWithParam<ClipboardCase> {};

TEST_P(ClipboardFilesTest, ReadsTheCopiedFilesAsADropWould)
{
    QMimeData data;
    data.setData(QString::fromLatin1(GetParam().format), GetParam().bytes);
    EXPECT_EQ(clipboardFileLocations(&data), GetParam().expected);
}

const char* const kGnome = "x-special/gnome-copied-files";
const char* const kUriList = "text/uri-list";

INSTANTIATE_TEST_SUITE_P(
    Copies, ClipboardFilesTest,
    ::testing::Values(
        ClipboardCase{"GnomeCopy", kGnome, "copy\nfile:///p/b.jpg\nfile:///p/a.jpg", {"/p/b.jpg", "/p/a.jpg"}},
        // A cut is read as a copy: the same list, nothing else to it.
        ClipboardCase{"GnomeCutIsACopy", kGnome, "cut\nfile:///p/a.jpg\n", {"/p/a.jpg"}},
        ClipboardCase{"GnomeCrlfBlankLinesAndEndingNul", kGnome, QByteArray("copy\r\n\r\nfile:///p/a.jpg\r\n\r\n\0", 28),
                      {"/p/a.jpg"}},
        ClipboardCase{"GnomeOtherLocationsLeftOut", kGnome,
                      "copy\nsftp://host/p/a.jpg\nhttps://example.org/b.jpg\ntrash:///c.jpg\nfile:///p/d.jpg",
                      {"/p/d.jpg"}},
        ClipboardCase{"GnomeEncodedNames", kGnome, "copy\nfile:///p/plage%20d'%C3%A9t%C3%A9.jpg\nfile:///p/caf%E9.jpg",
                      {"/p/plage d'\u00e9t\u00e9.jpg", "/p/caf\xe9.jpg"}},
        // Without "copy" or "cut" first the text is not a copy of files.
        ClipboardCase{"GnomeWithoutAction", kGnome, "file:///p/a.jpg\nfile:///p/b.jpg", {}},
        ClipboardCase{"GnomeUnknownAction", kGnome, "move\nfile:///p/a.jpg", {}},
        ClipboardCase{"GnomeActionOnly", kGnome, "cut\n", {}},
        ClipboardCase{"UriListCrlf", kUriList, "file:///p/a.jpg\r\nfile:///p/holiday/\r\n", {"/p/a.jpg", "/p/holiday/"}},
        ClipboardCase{"UriListWebLinkOnly", kUriList, "https://example.org/a.jpg\r\n", {}},
        ClipboardCase{"PlainTextPathIsNoFile", "text/plain", "/p/a.jpg", {}},
        ClipboardCase{"Image", "image/png", QByteArray("\x89PNG\r\n\x1a\n", 8), {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A file manager offers both lists: the one a drop reads comes first.
TEST(ClipboardFilesTest, UriListBeforeGnomeList)
{
    QMimeData data;
    data.setData(QString::fromLatin1(kUriList), "file:///p/from-uri-list.jpg\r\n");
    data.setData(QString::fromLatin1(kGnome), "copy\nfile:///p/from-gnome.jpg");
    EXPECT_EQ(clipboardFileLocations(&data), (DroppedFiles{"/p/from-uri-list.jpg"}));
    EXPECT_TRUE(clipboardFileLocations(nullptr).empty());
}

}  // namespace
}  // namespace voveriz
