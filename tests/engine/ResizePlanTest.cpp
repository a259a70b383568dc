// The plan for one image, from its header alone: copy, refuse, or scale to what, in which format
// and name, asked of the pipeline as stored.
#include "engine/plan/ResizePlan.h"

#include <gtest/gtest.h>

namespace voveriz {
namespace {

using Action = ResizePlan::Action;

struct Seen {
    std::int64_t width, height; // as the user sees it
    int orientation = 1;
    int pages = 1;
    const char* loader = "jpegload";
    bool hasProfile = false;
    bool interlaced = false;
};

SourceHeader headerOf(const Seen& seen)
{
    SourceHeader header;
    header.width = seen.width;
    header.height = seen.height;
    header.orientation = seen.orientation;
    header.hasProfile = seen.hasProfile;
    header.stored.loader = seen.loader;
    header.stored.pages = seen.pages;
    header.stored.interlaced = seen.interlaced;
    return header;
}

TEST(ResizePlan, DecidesFromTheHeaderAlone)
{
    struct Case {
        const char* what;
        Seen seen;
        const char* name;
        std::int64_t target;
        Dimension dimension;
        Action action;
        std::int64_t width = 0, height = 0;
        const char* outputName = "";
        ThumbnailRequest request = {};
        bool turn = false;
        bool heldWhole = false;
    };
    const Dimension W = Dimension::Width;
    const Dimension H = Dimension::Height;
    const Case cases[] = {
        { "phone photo", { 4032, 3024 }, "IMG_1.JPG", 1080, W, Action::Scale, 1080, 810, "IMG_1.jpg", { 1080, 810 } },
        { "at the target", { 4032, 3024 }, "IMG_1.JPG", 4032, W, Action::Copy },
        { "below it", { 4032, 3024 }, "IMG_1.JPG", 5000, W, Action::Copy },
        { "tall enough already", { 4032, 3024 }, "IMG_1.JPG", 3024, H, Action::Copy },
        { "turned: asked as stored", { 3024, 4032, 6 }, "p.jpeg", 1000, W, Action::Scale, 1000, 1333, "p.jpeg",
            { 1333, 1000 }, true },
        { "upside down: sides kept", { 4032, 3024, 3 }, "p.jpg", 1000, W, Action::Scale, 1000, 750, "p.jpg",
            { 1000, 750 }, true },
        { "animation kept a GIF", { 300, 200, 1, 3, "gifload" }, "a.gif", 150, W, Action::Scale, 150, 100, "a.gif",
            { 150, 100, true }, false, true },
        { "animation made a PNG: first frame", { 300, 200, 1, 3, "gifload" }, "a.PNG", 150, W, Action::Scale, 150, 100,
            "a.png", { 150, 100 }, false, true },
        { "profile into BMP: sRGB", { 800, 600, 1, 1, "pngload", true }, "x.bmp", 400, W, Action::Scale, 400, 300,
            "x.bmp", { 400, 300, false, true } },
        { "profile into TIFF: kept", { 800, 600, 1, 1, "pngload", true }, "x.tif", 400, W, Action::Scale, 400, 300,
            "x.tif", { 400, 300 } },
        { "progressive JPEG held whole", { 800, 600, 1, 1, "jpegload", false, true }, "x", 400, W, Action::Scale, 400,
            300, "x.jpg", { 400, 300 }, false, true },
        { "name ending in a dot", { 800, 600 }, "photo.", 400, W, Action::Scale, 400, 300, "photo..jpg", { 400, 300 } },
        { "a side below 1 pixel", { 1000, 1 }, "line.png", 10, W, Action::Refuse },
        { "a frame beyond the budget", { 20000, 12501 }, "big.jpg", 100, W, Action::Refuse },
        { "a GIF frame beyond its budget", { 7072, 7072, 1, 1, "gifload" }, "big.gif", 100, W, Action::Refuse },
        { "frames beyond the budget together", { 5000, 5000, 1, 41, "gifload" }, "long.gif", 100, W, Action::Refuse },
        { "their first frame within it", { 5000, 5000, 1, 41, "gifload" }, "long.jpg", 100, W, Action::Scale, 100, 100,
            "long.jpg", { 100, 100 }, false, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ResizePlan plan = planResize(headerOf(c.seen), c.name, c.target, c.dimension);
        ASSERT_EQ(plan.action, c.action);
        if (c.action != Action::Scale) continue;
        EXPECT_EQ(plan.width, c.width);
        EXPECT_EQ(plan.height, c.height);
        EXPECT_EQ(plan.outputName, c.outputName);
        EXPECT_EQ(plan.request.width, c.request.width);
        EXPECT_EQ(plan.request.height, c.request.height);
        EXPECT_EQ(plan.request.allFrames, c.request.allFrames);
        EXPECT_EQ(plan.request.exportSrgb, c.request.exportSrgb);
        EXPECT_EQ(plan.turn, c.turn);
        EXPECT_EQ(plan.heldWhole, c.heldWhole);
    }
}

TEST(ResizePlan, AFormatAskedForConvertsWhatIsNotInItAlready)
{
    struct Case {
        const char* what;
        const char* name;
        std::optional<ImageFormat> stored;
        OutputChoice choice;
        std::int64_t target;
        Action action;
        OutputFormat output = { ImageFormat::Jpeg, "jpg" };
        const char* outputName = "";
        bool converted = false;
    };
    const auto Jpeg = ImageFormat::Jpeg;
    const auto Webp = ImageFormat::Webp;
    const auto Heic = ImageFormat::Heic;
    const Case cases[] = {
        { "HEIC within the size, as JPEG", "IMG_1.HEIC", Heic, { Jpeg }, 5000, Action::Scale, { Jpeg, "jpg" },
            "IMG_1.jpg", true },
        { "JPEG within the size, as JPEG", "IMG_1.jpeg", Jpeg, { Jpeg }, 5000, Action::Copy },
        { "a JPEG named .png, as PNG", "x.png", Jpeg, { ImageFormat::Png }, 5000, Action::Scale,
            { ImageFormat::Png, "png" }, "x.png", true },
        { "a PNG named .jpg, as JPEG", "x.jpg", ImageFormat::Png, { Jpeg }, 5000, Action::Scale, { Jpeg, "jpg" },
            "x.jpg", true },
        { "HEIC above the size, as WebP", "IMG_1.HEIC", Heic, { Webp, 70 }, 1000, Action::Scale, { Webp, "webp", 70 },
            "IMG_1.webp" },
        { "no format: a TIFF ignores the quality", "a.TIF", ImageFormat::Tiff, { std::nullopt, 70 }, 1000,
            Action::Scale, { ImageFormat::Tiff, "tif" }, "a.tif" },
        { "no format: within the size, copied", "a.HEIC", Heic, { std::nullopt, 70 }, 5000, Action::Copy },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ResizePlan plan
            = planResize(headerOf({ 4032, 3024 }), c.name, c.target, Dimension::Width, c.choice, c.stored);
        ASSERT_EQ(plan.action, c.action);
        if (c.action != Action::Scale) continue;
        EXPECT_EQ(plan.output, c.output);
        EXPECT_EQ(plan.outputName, c.outputName);
        EXPECT_EQ(plan.converted, c.converted);
        if (c.converted) { EXPECT_EQ(plan.width, 4032); }
    }
}

} // namespace
} // namespace voveriz
