#include "engine/files/UniqueDestination.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace voveriz::testing {
namespace {

namespace fs = std::filesystem;

TEST(SplitFileName, FollowsThePathExtensionRule)
{
    struct Case {
        const char* name;
        const char* base;
        const char* extension;
    };
    const Case cases[] = {
        {"photo.jpg", "photo", "jpg"},
        {"Photo.JPG", "Photo", "JPG"},
        {"README", "README", ""},
        {".hidden", ".hidden", ""},
        {".hidden.png", ".hidden", "png"},
        {"archive.tar.gz", "archive.tar", "gz"},
        {"scratch..tiff", "scratch.", "tiff"},
        {"photo (1).jpg", "photo (1)", "jpg"},
        {"photo.", "photo.", ""},  // our choice: a trailing "." starts no extension and stays in the base
        {"photo..", "photo..", ""},
        {".", ".", ""},
        {"a.b c", "a", "b c"},
    };
    for (const Case& c : cases) {
        const NameParts parts = splitFileName(c.name);
        EXPECT_EQ(parts.base, c.base) << c.name;
        EXPECT_EQ(parts.extension, c.extension) << c.name;
    }
}

TEST(UniqueDestination, FollowsTheNamingRule)
{
    struct Case {
        std::vector<std::string> existing;
        const char* wanted;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {{}, "photo.jpg", "photo.jpg"},
        {{"other.jpg"}, "photo.jpg", "photo.jpg"},
        {{"photo.jpg"}, "photo.jpg", "photo (1).jpg"},
        {{"photo.jpg", "photo (1).jpg"}, "photo.jpg", "photo (2).jpg"},
        {{"photo.jpg", "photo (2).jpg"}, "photo.jpg", "photo (1).jpg"},  // a gap is filled first
        {{"photo (1).jpg"}, "photo (1).jpg", "photo (1) (1).jpg"},
        {{"README"}, "README", "README (1)"},
        {{".hidden"}, ".hidden", ".hidden (1)"},
        {{"archive.tar.gz"}, "archive.tar.gz", "archive.tar (1).gz"},
        {{"scratch..tiff"}, "scratch..tiff", "scratch. (1).tiff"},
        {{"Photo.JPG"}, "Photo.JPG", "Photo (1).JPG"},
        {{"photo.JPG"}, "photo.jpg", "photo.jpg"},  // this file system tells case apart
        {{"photo."}, "photo.", "photo. (1)"},
        {{"photo.jpg", "photo (1).jpg", "photo (2).jpg", "photo (3).jpg", "photo (4).jpg", "photo (5).jpg",
          "photo (6).jpg", "photo (7).jpg", "photo (8).jpg", "photo (9).jpg"},
         "photo.jpg",
         "photo (10).jpg"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (const std::string& name : c.existing) {
            writeFile(dir / name, "x");
        }
        EXPECT_EQ(uniqueDestination(dir.path(), c.wanted), dir / c.expected) << c.wanted;
    }
}

TEST(UniqueDestination, AFolderTakesTheName)
{
    TempDir dir;
    fs::create_directory(dir / "photo.jpg");
    EXPECT_EQ(uniqueDestination(dir.path(), "photo.jpg"), dir / "photo (1).jpg");
}

TEST(UniqueDestination, ADanglingLinkTakesTheName)
{
    TempDir dir;
    fs::create_symlink(dir / "nowhere", dir / "photo.jpg");
    fs::create_symlink(dir / "nowhere", dir / "photo (1).jpg");
    EXPECT_EQ(uniqueDestination(dir.path(), "photo.jpg"), dir / "photo (2).jpg");
}

TEST(UniqueDestination, CreatesNothing)
{
    TempDir dir;
    writeFile(dir / "photo.jpg", "x");
    uniqueDestination(dir.path(), "photo.jpg");
    EXPECT_EQ(testing::listFolder(dir.path()), std::vector<std::string>{"photo.jpg"});
}

TEST(UniqueDestination, AMissingFolderGivesTheNameItself)
{
    TempDir dir;
    EXPECT_EQ(uniqueDestination(dir / "missing", "photo.jpg"), dir / "missing" / "photo.jpg");
}

}  // namespace
}  // namespace voveriz::testing
