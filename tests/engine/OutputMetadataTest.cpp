// What a resized file's metadata says: never a stale preview, never an orientation or a size
// other than its own; --strip leaves only the color profile, --strip-location takes out GPS
// and place names. Every source is made here and every output is read back by libvips and libexif.
#include "EngineTestSupport.h"
#include "MetadataPhoto.h"
#include "OrientedPhoto.h"
#include "engine/metadata/OutputMetadata.h"

#include <vips/vips8>

#include <string>
#include <vector>

namespace voveriz::testing {
namespace {

namespace fs = std::filesystem;
using vips::VImage;

struct Source {
    std::string name;     // its extension picks the format it is saved in, and the output's
    std::string format;
    PhotoMetadata metadata;
    std::string written;  // the output's name
    bool carriesExif;     // the output format carries EXIF (libvips writes none into TIFF, 8.14 or 8.16)
};

struct Choice {
    const char* label;
    MetadataOptions options;
};

bool contains(const std::string& haystack, const std::string& needle)
{
    return haystack.find(needle) != std::string::npos;
}

// tiff:Orientation, in the element or the attribute form, or none at all.
bool xmpSaysUpright(const std::string& xmp)
{
    const auto at = xmp.find("tiff:Orientation");
    if (at == std::string::npos) return true;
    const std::string rest = xmp.substr(at + 16, 3);
    return rest == ">1<" || rest == "=\"1";
}

class OutputMetadataTest : public testing::EngineTest { };

TEST_F(OutputMetadataTest, EachOutputHoldsWhatItsOptionLeavesAndNothingStale)
{
    const VImage picture = testing::quadrantPicture(800, 500);
    const std::vector<Source> sources = {
        {"upright.jpg", ".jpg", {1, true, true, false}, "upright.jpg", true},
        {"turned.jpg", ".jpg", {6, true, true, false}, "turned.jpg", true},
        {"plain.jpg", ".jpg", {1, false, false, false}, "plain.jpg", true},
        {"p3.jpg", ".jpg", {1, false, true, true}, "p3.jpg", true},
        {"phone.webp", ".webp", {6, false, true, true}, "phone.jpg", true},
        {"scan.png", ".png", {1, true, true, true}, "scan.png", true},
        {"scan.tif", ".tif", {1, false, true, true}, "scan.tif", false},
    };
    const std::vector<Choice> choices = {
        {"no option", {}}, {"--strip-location", {false, true}}, {"--strip", {true, false}}};

    for (const Source& source : sources) {
        // Stored turned by its orientation, so that it shows 800x500 upright.
        testing::writeOrientedJpeg(picture, source.metadata.orientation, in / "stored.jpg");
        testing::writePhoto(VImage::new_from_file((in / "stored.jpg").c_str()), source.metadata, in / source.name,
                            source.format);
        VImage keptPixels;
        for (const Choice& choice : choices) {
            SCOPED_TRACE(source.name + ", " + choice.label);
            const fs::path outDir = out / (source.name + "-" + choice.label);
            fs::create_directory(outDir);
            ASSERT_EQ(runOn(in / source.name, 400, Dimension::Width, outDir, choice.options).outcome(),
                      Outcome::Resized);
            const ReadBack back = testing::readBack(outDir / source.written);
            const bool strip = choice.options.strip;
            const bool located = source.metadata.location && !strip && !choice.options.stripLocation;

            EXPECT_EQ(back.pixels.width(), 400);
            EXPECT_EQ(back.pixels.height(), 250);
            EXPECT_FALSE(back.exifThumbnail);
            EXPECT_FALSE(contains(back.iptc, testing::kPhotoshopPreview));
            EXPECT_EQ(back.exif, source.carriesExif && !strip);
            if (back.exif) {
                EXPECT_EQ(back.exifOrientation, 1);
            }
            EXPECT_EQ(back.cameraMake, source.carriesExif && !strip);
            EXPECT_EQ(back.exifGps, located && source.carriesExif);
            EXPECT_EQ(contains(back.xmp, testing::kCaption), !strip);
            EXPECT_TRUE(xmpSaysUpright(back.xmp)) << back.xmp;
            EXPECT_EQ(contains(back.xmp, "GPSLatitude"), located);
            EXPECT_EQ(contains(back.xmp, testing::kCity) || contains(back.iptc, testing::kCity), located);
            // Only JPEG carries IPTC whole: WebP and PNG have none, and libvips 8.14 cuts a TIFF's
            // short (it counts its length in four-byte units).
            if (source.format == ".jpg") {
                EXPECT_EQ(contains(back.iptc, testing::kCaption), !strip);
            }
            EXPECT_EQ(back.profile, source.metadata.p3Profile ? testing::displayP3Profile() : "");

            // Stripping changes the metadata only.
            if (!keptPixels.get_image()) {
                keptPixels = back.pixels.copy_memory();
            } else if (choice.options.strip) {
                EXPECT_EQ((back.pixels - keptPixels).abs().max(), 0.0);
            }
        }
    }
}

// libvips 8.15 and later write a fresh EXIF block into every PNG (a color space of "Uncalibrated",
// which color-managed viewers heed); 8.14 writes one only from the image's own. A file whose
// source has no EXIF has none either way, whatever the option; only JPEG gets a fresh block.
TEST_F(OutputMetadataTest, AnOutputWhoseSourceHasNoExifHasNone)
{
    const VImage picture = testing::quadrantPicture(80, 50);
    const std::vector<Choice> choices = {
        {"no option", {}}, {"--strip-location", {false, true}}, {"--strip", {true, false}}};
    for (const std::string format : {".png", ".tif", ".gif", ".bmp"}) {
        const fs::path source = in / ("bare" + format);
        if (format == ".bmp") {
            testing::saveImage(picture, source, format);
        } else {
            void* data = nullptr;
            size_t size = 0;
            picture.write_to_buffer(format.c_str(), &data, &size, VImage::option()->set("strip", true));
            testing::writeFile(source, std::string(static_cast<const char*>(data), size));
            g_free(data);
        }
        ASSERT_FALSE(testing::readBack(source).exif) << source;
        for (const Choice& choice : choices) {
            SCOPED_TRACE(format + ", " + choice.label);
            const fs::path outDir = out / (format + "-" + choice.label);
            fs::create_directory(outDir);
            ASSERT_EQ(runOn(source, 40, Dimension::Width, outDir, choice.options).outcome(), Outcome::Resized);
            const ReadBack back = testing::readBack(outDir / source.filename());
            EXPECT_EQ(back.pixels.width(), 40);
            EXPECT_FALSE(back.exif);
        }
    }
}

// The thumbnail's fault as a user meets it: a sideways phone photo with its camera preview,
// resized. Its preview would show the photo on its side; the output has none.
TEST_F(OutputMetadataTest, ATurnedPhotosOutputHasNoPreviewOfTheUnturnedPhoto)
{
    testing::writeOrientedJpeg(testing::quadrantPicture(800, 1280), 6, in / "stored.jpg");
    testing::writePhoto(VImage::new_from_file((in / "stored.jpg").c_str()), {6, true, false, false}, in / "IMG.jpg");
    ASSERT_TRUE(testing::readBack(in / "IMG.jpg").exifThumbnail);

    ASSERT_EQ(run("IMG.jpg", 400).message(), "IMG.jpg 800x1280\n   IMG.jpg 400x640");
    const ReadBack back = testing::readBack(out / "IMG.jpg");
    EXPECT_FALSE(back.exifThumbnail);
    EXPECT_EQ(back.exifOrientation, 1);
    EXPECT_TRUE(back.cameraMake);
}

// A TIFF's resources and IPTC come without the JPEG header: when all they hold is the preview,
// or place names that --strip-location takes, nothing of them is left, and nothing of the source's.
TEST_F(OutputMetadataTest, ABlobLeftEmptyIsGoneNotKeptAsItWas)
{
    using namespace std::string_literals;
    VImage image = VImage::black(4, 4);
    const std::string preview = "8BIM\x04\x0c\0\0\0\0\0\x04jpeg"s;
    const std::string city = "\x1c\x02\x5a\x00\x04Oslo"s;
    vips_image_set_blob_copy(image.get_image(), "photoshop-data", preview.data(), preview.size());
    vips_image_set_blob_copy(image.get_image(), "iptc-data", city.data(), city.size());

    const VImage kept = withOutputMetadata(image, {});
    EXPECT_EQ(kept.get_typeof("photoshop-data"), 0u);
    EXPECT_NE(kept.get_typeof("iptc-data"), 0u);
    const VImage located = withOutputMetadata(image, {false, true});
    EXPECT_EQ(located.get_typeof("photoshop-data"), 0u);
    EXPECT_EQ(located.get_typeof("iptc-data"), 0u);
}

}  // namespace
}  // namespace voveriz::testing
