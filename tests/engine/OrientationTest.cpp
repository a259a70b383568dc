// EXIF orientation: "width" is the width the user sees, and the output is upright with no tag.
#include "EngineTestSupport.h"

#include <vips/vips8>

namespace voveriz {
namespace {

namespace fs = std::filesystem;
using testing::EngineTest;
using testing::imageSize;
using testing::PixelSize;
using testing::TempDir;
using vips::VImage;

const fs::path kOrientationFiles = fs::path(VOVERIZ_TESTDATA_DIR) / "orientation";

double meanDifference(const VImage& a, const VImage& b)
{
    return (a.cast(VIPS_FORMAT_FLOAT) - b.cast(VIPS_FORMAT_FLOAT)).abs().avg();
}

int orientationTag(const fs::path& file)
{
    VImage image = VImage::new_from_file(file.c_str());
    return image.get_typeof(VIPS_META_ORIENTATION) != 0 ? image.get_int(VIPS_META_ORIENTATION) : 1;
}

class Orientation : public EngineTest {};

TEST_F(Orientation, EveryOrientationIsAppliedBeforeMeasuringAndWrittenUpright)
{
    for (const char* shape : {"Landscape", "Portrait"}) {
        const bool landscape = std::string(shape) == "Landscape";
        const std::string upright = std::string(shape) + "_1.jpg";
        ASSERT_TRUE(fs::exists(kOrientationFiles / upright)) << kOrientationFiles;
        TempDir reference;
        runOn(kOrientationFiles / upright, 90, "width", reference.path());
        const VImage expected = VImage::new_from_file((reference / upright).c_str());
        // A measure that can tell an upright image from a turned one.
        ASSERT_GT(meanDifference(expected, expected.rot(VIPS_ANGLE_D180)), 20.0);

        for (int n = 0; n <= 8; ++n) {
            const std::string name = std::string(shape) + "_" + std::to_string(n) + ".jpg";
            TempDir folder;
            const ResizeResult result = runOn(kOrientationFiles / name, 90, "width", folder.path());
            EXPECT_EQ(result.status(), "ok") << name;
            EXPECT_EQ(result.message(), landscape ? name + " 1800x1200\n   " + name + " 90x60"
                                                  : name + " 1200x1800\n   " + name + " 90x135");
            const fs::path written = folder / name;
            EXPECT_EQ(imageSize(written), landscape ? (PixelSize{90, 60}) : (PixelSize{90, 135})) << name;
            EXPECT_EQ(orientationTag(written), 1) << name;
            // Same picture as _1 but for the digit drawn on it.
            EXPECT_LT(meanDifference(VImage::new_from_file(written.c_str()), expected), 8.0) << name;
        }
    }
}

TEST_F(Orientation, TheDecisionUsesTheSidesTheUserSees)
{
    // Landscape_6 is stored 1200 wide and 1800 tall but shows 1800 wide and 1200 tall.
    const fs::path turned = kOrientationFiles / "Landscape_6.jpg";
    EXPECT_EQ(runOn(turned, 1200, "height", out.path()).message(), "Landscape_6.jpg - already 1200px tall, copied as-is");
    TempDir folder;
    EXPECT_EQ(runOn(turned, 1500, "width", folder.path()).message(),
              "Landscape_6.jpg 1800x1200\n   Landscape_6.jpg 1500x1000");
    EXPECT_EQ(imageSize(folder / "Landscape_6.jpg"), (PixelSize{1500, 1000}));
    // The copy is the file itself, its orientation tag included.
    EXPECT_TRUE(testing::readFile(out / "Landscape_6.jpg") == testing::readFile(turned));
}

TEST_F(Orientation, EveryOutputFormatIsWrittenUpright)
{
    const fs::path turned = kOrientationFiles / "Portrait_8.jpg";
    for (const char* name : {"p.png", "p.tif", "p.gif", "p.bmp", "p.jpeg"}) {
        fs::copy_file(turned, in / name);
        const ResizeResult result = run(name, 60);
        EXPECT_EQ(result.status(), "ok") << name;
        EXPECT_EQ(imageSize(out / name), (PixelSize{60, 90})) << name;
        EXPECT_EQ(orientationTag(out / name), 1) << name;
    }
}

}  // namespace
}  // namespace voveriz
