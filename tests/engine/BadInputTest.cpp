// Files that are not images, or are broken ones: each gets its result, never a crash, never a partial file.
#include "EngineTestSupport.h"
#include "HostileBytes.h"

#include <sys/stat.h>

#include <array>

namespace voveriz::testing {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class BadInput : public EngineTest {};

TEST_F(BadInput, WhatIsNotAnImageIsSkippedAndNothingIsWritten)
{
    writeFile(in / "empty.jpg", "");
    writeFile(in / "notes.txt", "Shopping list:\n- bread\n- milk\n");
    writeFile(in / "table.csv", "1,2,3\n4,5,6\n7,8,9\n");  // libvips could read these as images
    writeFile(in / "matrix.mat", "3 3\n1 2 3\n4 5 6\n7 8 9\n");
    writeFile(in / "fake.png", std::string("\x89PNG\r\n\x1a\n", 8) + "garbage that is not a PNG at all");
    writeFile(in / "fake.jpg", std::string("\xff\xd8\xff", 3));
    std::string noise(4096, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919 + 13) % 251);
    writeFile(in / "noise.gif", noise);
    fs::create_directory(in / "folder.jpg");
    fs::create_symlink(in / "nowhere.jpg", in / "dangling.jpg");
    ASSERT_EQ(::mkfifo((in / "pipe.jpg").c_str(), 0600), 0);  // must not block
    for (const char* name : {"empty.jpg", "notes.txt", "table.csv", "matrix.mat", "fake.png", "fake.jpg", "noise.gif", "folder.jpg", "missing.jpg",
                             "dangling.jpg", "pipe.jpg"}) {
        for (std::int64_t target : {1, 100000}) {
            const ResizeResult result = run(name, target);
            EXPECT_EQ(result.outcome(), Outcome::NotAnImage) << name;
            EXPECT_EQ(result.message(), std::string(name) + " - not an image, skipped");
        }
    }
    // A folder given with a trailing separator is still named by its last component.
    EXPECT_EQ(resizeImage(in.path().string() + "/folder.jpg/", 100, Dimension::Width, out.path()).message(),
              "folder.jpg - not an image, skipped");
    EXPECT_EQ(listFolder(out.path()), Names{});
}

TEST_F(BadInput, AJpegLackingOnlyItsEndMarkerResizesOneCutInsideItsDataIsAnError)
{
    const vips::VImage picture = testing::gradientImage(1600, 1200).gaussblur(0.5);
    picture.jpegsave((in / "whole.jpg").c_str());
    picture.jpegsave((in / "layers.jpg").c_str(), vips::VImage::option()->set("interlace", true));  // progressive
    ASSERT_EQ(run("whole.jpg", 100).outcome(), Outcome::Resized);  // out/whole.jpg, what every whole one must look like
    const vips::VImage expected = vips::VImage::new_from_file((out / "whole.jpg").c_str()).cast(VIPS_FORMAT_FLOAT);
    constexpr std::size_t kHalf = 0;
    struct Case {
        const char* from;
        const char* name;
        std::size_t removed;  // bytes cut off its end, or kHalf
        bool resizes;
    };
    const Case cases[] = {{"whole.jpg", "noend.jpg", 2, true},     // FF D9 missing
                          {"whole.jpg", "halfend.jpg", 1, true},   // D9 missing
                          {"layers.jpg", "noend-p.jpg", 2, true},
                          {"whole.jpg", "nearly.jpg", 200, false},  // ends inside the last rows' data
                          {"whole.jpg", "cut.jpg", kHalf, false},
                          {"layers.jpg", "cut-p.jpg", kHalf, false}};
    for (const Case& c : cases) {
        const std::string bytes = readFile(in / c.from);
        writeFile(in / c.name, bytes.substr(0, c.removed == kHalf ? bytes.size() / 2 : bytes.size() - c.removed));
        const ResizeResult scaled = run(c.name, 100);
        if (c.resizes) {
            ASSERT_EQ(scaled.message(), std::string(c.name) + " 1600x1200\n   " + c.name + " 100x75");
            const vips::VImage written = vips::VImage::new_from_file((out / c.name).c_str()).cast(VIPS_FORMAT_FLOAT);
            EXPECT_LT((written - expected).abs().max(), 8.0) << c.name << ": the whole picture, no grey rows";
        } else {
            EXPECT_EQ(scaled.outcome(), Outcome::Failed) << c.name;
            EXPECT_EQ(scaled.message(), std::string(c.name) + " - failed to create resized image");
            EXPECT_FALSE(fs::exists(out / c.name));
        }
        // Within the target it is copied as it is, never decoded, never mended.
        const std::string copy = fs::path(c.name).stem().string() + " (1).jpg";
        EXPECT_EQ(run(c.name, 1600).message(), std::string(c.name) + " - already 1600px wide, copied as-is");
        EXPECT_TRUE(readFile(out / (c.resizes ? copy : c.name)) == readFile(in / c.name)) << c.name;
    }
}

TEST_F(BadInput, ATruncatedPngOrGifIsAnError)
{
    for (const char* name : {"cut.png", "cut.gif"}) {
        writeImage(in / name, 400, 300);
        const std::string bytes = readFile(in / name);
        writeFile(in / name, bytes.substr(0, bytes.size() / 2));
        const ResizeResult result = run(name, 100);
        EXPECT_EQ(result.outcome(), Outcome::Failed) << name;
        EXPECT_EQ(result.message(), std::string(name) + " - failed to create resized image");
    }
    EXPECT_EQ(listFolder(out.path()), Names{});
}

TEST_F(BadInput, APngThatClaimsAHugeSizeIsNotAllocated)
{
    writeImage(in / "small.png", 16, 16);
    std::string bytes = readFile(in / "small.png");
    ASSERT_EQ(bytes.substr(12, 4), "IHDR");
    putBigEndian(bytes, 16, 100000);  // width
    putBigEndian(bytes, 20, 100000);  // height
    putBigEndian(bytes, 29, crc32(bytes.substr(12, 17)));
    writeFile(in / "huge.png", bytes);

    const std::optional<long> grown = ownPeakGrowthKiB([&] {
        const ResizeResult result = run("huge.png", 100);
        EXPECT_EQ(result.outcome(), Outcome::Failed);
        EXPECT_EQ(result.message(), "huge.png - failed to create resized image");
        EXPECT_EQ(run("huge.png", 200, Dimension::Height).message(), "huge.png - failed to create resized image");
        EXPECT_EQ(run("huge.png", 100000).message(), "huge.png - already 100000px wide, copied as-is");
    });
    EXPECT_EQ(listFolder(out.path()), Names{"huge.png"});
    if (!grown) GTEST_SKIP() << kPeakNotMeasured;
    EXPECT_LT(*grown, 200 * 1024) << "30 GB of pixels must never be allocated";
}

TEST_F(BadInput, ANameThatLooksLikeLoaderOptionsIsReadAsAName)
{
    // libvips would read a trailing "[...]" of a file name as loader options.
    testing::saveImage(testing::gradientImage(200, 100), in / "shot[1]", ".jpg");
    testing::saveImage(testing::gradientImage(200, 100), in / "frame[n=-1].png", ".png");
    EXPECT_EQ(run("shot[1]", 100).message(), "shot[1] 200x100\n   shot[1].jpg 100x50");
    EXPECT_EQ(run("frame[n=-1].png", 100).message(), "frame[n=-1].png 200x100\n   frame[n=-1].png 100x50");
    EXPECT_EQ(run("shot[1]", 200).message(), "shot[1] - already 200px wide, copied as-is");
    EXPECT_EQ(imageSize(out / "shot[1].jpg"), (PixelSize{100, 50}));
}

TEST_F(BadInput, ASourceReachedThroughALinkIsReadThroughIt)
{
    writeImage(in / "real.png", 200, 100);
    fs::create_symlink(in / "real.png", in / "link.png");
    EXPECT_EQ(run("link.png", 100).message(), "link.png 200x100\n   link.png 100x50");
    EXPECT_EQ(run("link.png", 200).message(), "link.png - already 200px wide, copied as-is");
    EXPECT_FALSE(fs::is_symlink(out / "link (1).png"));
    EXPECT_TRUE(readFile(out / "link (1).png") == readFile(in / "real.png"));
}

}  // namespace
}  // namespace voveriz::testing
