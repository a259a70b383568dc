// EXIF orientation: the width is the width the user sees, and the output is upright with no tag.
#include "EngineTestSupport.h"
#include "OrientedPhoto.h"

#include <vips/vips8>

#include <array>

namespace voveriz::testing {
namespace {

namespace fs = std::filesystem;
using vips::VImage;

double meanDifference(const VImage& a, const VImage& b)
{
    return (a.cast(VIPS_FORMAT_FLOAT) - b.cast(VIPS_FORMAT_FLOAT)).abs().avg();
}

int orientationTag(const fs::path& file)
{
    VImage image = VImage::new_from_file(file.c_str());
    return image.get_typeof(VIPS_META_ORIENTATION) != 0 ? image.get_int(VIPS_META_ORIENTATION) : 1;
}

// Each corner of the written picture, as stored, has the color of the same corner of the upright
// source: nothing was left turned or mirrored.
void expectUprightCorners(const fs::path& written, const std::string& label)
{
    const VImage image = VImage::new_from_file(written.c_str()).colourspace(VIPS_INTERPRETATION_sRGB);
    const int right = image.width() - 3;
    const int bottom = image.height() - 3;
    const std::array<std::pair<Corner, std::array<int, 2>>, 4> corners{{{Corner::TopLeft, {2, 2}},
        {Corner::TopRight, {right, 2}}, {Corner::BottomLeft, {2, bottom}},
        {Corner::BottomRight, {right, bottom}}}};
    for (const auto& [corner, at] : corners) {
        const std::vector<double> got = image.getpoint(at[0], at[1]);
        const std::array<double, 3> want = testing::quadrantColor(corner);
        for (int band = 0; band < 3; ++band) {
            EXPECT_NEAR(got[band], want[band], 24.0)
                << label << ": corner " << static_cast<int>(corner) << ", band " << band;
        }
    }
}

// Eighteen photos made here: landscape 1800x1200 and portrait 1200x1800 as the user sees them,
// stored with no orientation tag (_0) and with each EXIF orientation 1 to 8 (_1 ... _8).
class Orientation : public EngineTest {
protected:
    static void SetUpTestSuite()
    {
        m_photos = new TempDir;
        for (const char* shape : {"Landscape", "Portrait"}) {
            const bool landscape = std::string(shape) == "Landscape";
            const VImage upright = testing::quadrantPicture(landscape ? 1800 : 1200, landscape ? 1200 : 1800);
            for (int n = 0; n <= 8; ++n) {
                testing::writeOrientedJpeg(upright, n, photo(std::string(shape) + "_" + std::to_string(n) + ".jpg"));
            }
        }
    }
    static void TearDownTestSuite()
    {
        delete m_photos;
        m_photos = nullptr;
    }
    static fs::path photo(const std::string& name) { return *m_photos / name; }

private:
    static inline TempDir* m_photos = nullptr;
};

TEST_F(Orientation, ThePhotosCarryTheirTags)
{
    const char* const tag = "exif-ifd0-Orientation";
    EXPECT_EQ(VImage::new_from_file(photo("Landscape_0.jpg").c_str()).get_typeof(tag), 0u);
    for (int n = 1; n <= 8; ++n) {
        const fs::path file = photo("Landscape_" + std::to_string(n) + ".jpg");
        EXPECT_NE(VImage::new_from_file(file.c_str()).get_typeof(tag), 0u) << n;
        EXPECT_EQ(orientationTag(file), n);
        EXPECT_EQ(imageSize(file), n >= 5 ? (PixelSize {1200, 1800}) : (PixelSize {1800, 1200})) << n;
    }
}

TEST_F(Orientation, EveryOrientationIsAppliedBeforeMeasuringAndWrittenUpright)
{
    for (const char* shape : {"Landscape", "Portrait"}) {
        const bool landscape = std::string(shape) == "Landscape";
        const std::string upright = std::string(shape) + "_1.jpg";
        TempDir reference;
        runOn(photo(upright), 90, Dimension::Width, reference.path());
        const VImage expected = VImage::new_from_file((reference / upright).c_str());
        // A measure that can tell an upright image from a turned one.
        ASSERT_GT(meanDifference(expected, expected.rot(VIPS_ANGLE_D180)), 20.0);

        for (int n = 0; n <= 8; ++n) {
            const std::string name = std::string(shape) + "_" + std::to_string(n) + ".jpg";
            TempDir folder;
            const ResizeResult result = runOn(photo(name), 90, Dimension::Width, folder.path());
            EXPECT_EQ(result.outcome(), Outcome::Resized) << name;
            EXPECT_EQ(result.message(),
                landscape ? name + " 1800x1200\n   " + name + " 90x60" : name + " 1200x1800\n   " + name + " 90x135");
            const fs::path written = folder / name;
            EXPECT_EQ(imageSize(written), landscape ? (PixelSize {90, 60}) : (PixelSize {90, 135})) << name;
            EXPECT_EQ(orientationTag(written), 1) << name;
            expectUprightCorners(written, name);
            // The same picture as _1, stored the other way round.
            EXPECT_LT(meanDifference(VImage::new_from_file(written.c_str()), expected), 4.0) << name;
        }
    }
}

TEST_F(Orientation, TheDecisionUsesTheSidesTheUserSees)
{
    // Landscape_6 is stored 1200 wide and 1800 tall but shows 1800 wide and 1200 tall.
    const fs::path turned = photo("Landscape_6.jpg");
    EXPECT_EQ(
        runOn(turned, 1200, Dimension::Height, out.path()).message(), "Landscape_6.jpg - already 1200px tall, copied as-is");
    TempDir folder;
    EXPECT_EQ(runOn(turned, 1500, Dimension::Width, folder.path()).message(),
        "Landscape_6.jpg 1800x1200\n   Landscape_6.jpg 1500x1000");
    EXPECT_EQ(imageSize(folder / "Landscape_6.jpg"), (PixelSize {1500, 1000}));
    expectUprightCorners(folder / "Landscape_6.jpg", "Landscape_6.jpg to 1500");
    // The copy is the file itself, its orientation tag included.
    EXPECT_TRUE(testing::readFile(out / "Landscape_6.jpg") == testing::readFile(turned));
}

TEST_F(Orientation, EveryOutputFormatIsWrittenUpright)
{
    const fs::path turned = photo("Portrait_8.jpg");
    for (const char* name : {"p.png", "p.tif", "p.gif", "p.bmp", "p.jpeg"}) {
        fs::copy_file(turned, in / name);
        const ResizeResult result = run(name, 60);
        EXPECT_EQ(result.outcome(), Outcome::Resized) << name;
        EXPECT_EQ(imageSize(out / name), (PixelSize {60, 90})) << name;
        EXPECT_EQ(orientationTag(out / name), 1) << name;
        expectUprightCorners(out / name, name);
    }
}

} // namespace
} // namespace voveriz
