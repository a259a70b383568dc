#include "ui/DisplayPath.h"

#include <gtest/gtest.h>

namespace voveriz {
namespace {

TEST(DisplayPath, ReplacesEveryOccurrenceOfTheHomePath)
{
    struct Case {
        const char* path;
        const char* shown;
    };
    const Case cases[] = {
        {"/home/ann/Pictures/Resized", "~/Pictures/Resized"},
        {"/home/ann", "~"},
        {"/mnt/home/ann/x", "/mnt~/x"},  // not only at the start
        {"/home/ann/backup/home/ann/Resized", "~/backup~/Resized"},
        {"/srv/photos", "/srv/photos"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(displayPath(QString::fromUtf8(c.path), QStringLiteral("/home/ann")), QString::fromUtf8(c.shown))
            << c.path;
    }
    EXPECT_EQ(displayPath(QStringLiteral("/srv/photos"), QString()), QStringLiteral("/srv/photos"));
}

}  // namespace
}  // namespace voveriz
