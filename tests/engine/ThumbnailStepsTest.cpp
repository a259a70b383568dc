// The engine's own thumbnail steps against libvips's thumbnail: the same pixels and metadata, bit
// for bit, wherever the engine takes its own steps, on libvips 8.14, whose thumbnail the steps
// are. Later libvips's thumbnails reduce 8-bit pixels with other arithmetic than our reduce (8.14's)
// and premultiply alpha in 8 bits: there the steps with libvips's reduce put back in must still be
// thumbnail bit for bit and ours near it, and where alpha is premultiplied the alpha band near it.
#include "engine/pipeline/Encode.h"
#include "engine/pipeline/LibvipsThumbnail.h"
#include "engine/pipeline/Thumbnail.h"
#include "engine/pipeline/ThumbnailSteps.h"
#include "engine/plan/ResizePlan.h"
#include "engine/resample/Lanczos3Reduce.h"

#include "EngineTestSupport.h"

#include <vips/vips8>

#include <cmath>
#include <cstdio>

namespace voveriz::testing {
namespace {

namespace fs = std::filesystem;
using vips::VImage;

// The gradient with ripples and sharp steps on it, so that every tap of the reduce matters, and
// (with 2 or 4 bands) an alpha that runs from clear to opaque in stripes.
VImage detailed(int width, int height, int bands)
{
    const VImage xy = VImage::xyz(width, height);
    const VImage ripples = (xy[0] * 37).sin() * 40 + (xy[1] * 23).cos() * 30 + ((xy[0] / 7).floor() % 2) * 50 - 60;
    VImage image = (testing::gradientImage(width, height, bands >= 3 ? 3 : 1) + ripples).cast(VIPS_FORMAT_UCHAR);
    if (bands == 2 || bands == 4) {
        image = image.bandjoin((((xy[0] + xy[1]) % 97) * 2.65).cast(VIPS_FORMAT_UCHAR));
    }
    return image.copy(VImage::option()->set("interpretation",
                                             bands >= 3 ? VIPS_INTERPRETATION_sRGB : VIPS_INTERPRETATION_B_W));
}

enum class Saved { Jpeg, ProgressiveJpeg, CmykJpeg, Png, Png16, Tiff, TwoPageTiff, Gif, ThreeFrameGif, Webp };
enum class Profile { None, Srgb, DisplayP3, Cmyk /* a CMYK profile on RGB pixels, which no transform accepts */ };

void writeSource(const fs::path& file, Saved saved, int width, int height, int bands, Profile profile,
                 int orientation)
{
    VImage image = detailed(width, height, bands);
    if (profile == Profile::Srgb) image = image.icc_transform("srgb", VImage::option()->set("input_profile", "srgb"));
    if (profile == Profile::DisplayP3) image = image.icc_transform("p3");
    if (saved == Saved::CmykJpeg) image = image.icc_transform("cmyk", VImage::option()->set("input_profile", "srgb"));
    if (saved == Saved::Png16) {
        image = (image * 257)
                    .cast(VIPS_FORMAT_USHORT)
                    .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_RGB16));
    }
    image = image.copy();
    if (profile == Profile::Cmyk) {
        VipsBlob* ink = VImage::profile_load("cmyk");
        vips_image_set_blob_copy(image.get_image(), VIPS_META_ICC_NAME, VIPS_AREA(ink)->data, VIPS_AREA(ink)->length);
        vips_area_unref(VIPS_AREA(ink));
    }
    if (orientation != 1) image.set(VIPS_META_ORIENTATION, orientation);
    const std::string path = file.string();
    switch (saved) {
    case Saved::Jpeg:
    case Saved::CmykJpeg: image.jpegsave(path.c_str()); return;
    case Saved::ProgressiveJpeg: image.jpegsave(path.c_str(), VImage::option()->set("interlace", true)); return;
    case Saved::Png:
    case Saved::Png16: image.pngsave(path.c_str()); return;
    case Saved::Tiff: image.tiffsave(path.c_str()); return;
    case Saved::Gif: image.gifsave(path.c_str()); return;
    case Saved::Webp: image.webpsave(path.c_str()); return;
    case Saved::TwoPageTiff:
    case Saved::ThreeFrameGif: {
        const int pages = saved == Saved::TwoPageTiff ? 2 : 3;
        VImage strip = image;
        for (int page = 1; page < pages; ++page) {
            strip = strip.join(image.flip(VIPS_DIRECTION_HORIZONTAL), VIPS_DIRECTION_VERTICAL);
        }
        strip = strip.copy();
        strip.set(VIPS_META_PAGE_HEIGHT, height);
        if (saved == Saved::TwoPageTiff) {
            strip.tiffsave(path.c_str());
        } else {
            strip.set("delay", std::vector<int>(pages, 100));
            strip.gifsave(path.c_str());
        }
        return;
    }
    }
}

struct Case {
    const char* name;  // its extension picks the output format, as in the engine
    Saved saved;
    int width;  // as seen, after the EXIF turn
    int height;
    int bands;
    Profile profile;
    int orientation;
    bool widthMode;
    int target;
    bool ownSteps;
};

// How near our steps come to libvips 8.16's thumbnail, which reduces with other arithmetic, as a
// PSNR over every byte (over the alpha band where the two premultiply differently): 41.7 dB and
// more on these sources (46 and more but for a GIF's all-or-nothing alpha), where the largest
// difference is up to 14 (after a wide-gamut profile's transform). Our output shifted by one
// pixel gives 31 dB or less on every one of them.
constexpr double kOtherArithmeticPsnr = 38;

double largestDifference(const VImage& a, const VImage& b)
{
    return (a.cast(VIPS_FORMAT_INT) - b.cast(VIPS_FORMAT_INT)).abs().max();
}

TEST(ThumbnailSteps, GiveWhatLibvipsThumbnailGivesBitForBit)
{
    // The two known answers: libvips 8.14, whose reduce is ours and whose thumbnail premultiplies
    // alpha in float; or a later one (8.16), whose reduce keeps 12-bit weights in its vertical pass
    // and whose thumbnail (from 8.15 on) casts premultiplied pixels back to 8 bits before the reduce.
    const bool reducesAsOurs = testing::libvipsReducesAsOurs();
    const bool premultipliesInEightBits = vips_version(0) > 8 || vips_version(1) >= 15;
    EXPECT_TRUE(reducesAsOurs || vips_version(0) > 8 || vips_version(1) > 14)
        << "libvips " << testing::libvipsVersion();
    if (!reducesAsOurs) {
        std::printf("libvips %s reduces 8-bit pixels with other arithmetic than ours: our steps with its reduce put "
                    "back must equal its thumbnail bit for bit, ours at %g dB or more from it\n",
                    testing::libvipsVersion().c_str(), kOtherArithmeticPsnr);
    }

    // The JPEG shrink-on-load comes at a shrink of 4 (by 2), 8 (by 4) and 16 (by 8).
    const Case cases[] = {
        {"phone.jpg", Saved::Jpeg, 1000, 750, 3, Profile::None, 1, true, 270, true},        // 3.7: none
        {"four.jpg", Saved::Jpeg, 1600, 1200, 3, Profile::None, 1, true, 400, true},        // 4: by 2
        {"under-four.jpg", Saved::Jpeg, 1599, 1200, 3, Profile::None, 1, true, 400, true},  // 3.9975 across: none
        {"eight.jpg", Saved::ProgressiveJpeg, 1601, 1203, 3, Profile::None, 1, true, 200, true},  // by 4, odd sides
        {"twenty.jpg", Saved::ProgressiveJpeg, 2000, 1500, 3, Profile::None, 1, false, 75, true},  // by 8
        {"grey.jpg", Saved::Jpeg, 1203, 901, 1, Profile::None, 1, false, 150, true},
        {"turned.jpg", Saved::Jpeg, 1200, 900, 3, Profile::None, 6, true, 300, true},  // stored 900 x 1200
        {"upside-down.jpg", Saved::ProgressiveJpeg, 1001, 667, 3, Profile::None, 3, false, 101, true},
        {"wide.jpg", Saved::Jpeg, 900, 600, 3, Profile::DisplayP3, 1, true, 200, true},  // profile kept
        {"wide.gif", Saved::Jpeg, 900, 600, 3, Profile::DisplayP3, 1, true, 200, true},  // made sRGB
        {"tagged.bmp", Saved::Png, 700, 500, 3, Profile::Srgb, 1, true, 333, true},
        {"ink-tagged.gif", Saved::Png, 700, 500, 4, Profile::Cmyk, 1, true, 301, true},  // a built-in sRGB instead
        {"rgb.png", Saved::Png, 801, 601, 3, Profile::None, 1, false, 100, true},
        {"rgba.png", Saved::Png, 640, 480, 4, Profile::None, 1, true, 250, true},
        {"grey.png", Saved::Png, 500, 333, 1, Profile::None, 1, true, 99, true},
        {"grey-alpha.tif", Saved::Png, 500, 333, 2, Profile::None, 1, true, 160, true},
        {"line.png", Saved::Png, 200, 1, 4, Profile::None, 1, true, 100, true},  // 100 x 1: only one side scales
        {"rgb.tif", Saved::Tiff, 900, 700, 3, Profile::None, 1, true, 300, true},
        {"turned-rgba.png", Saved::Tiff, 900, 700, 4, Profile::None, 8, false, 350, true},
        {"frame.gif", Saved::Gif, 300, 200, 4, Profile::None, 1, true, 120, true},
        {"frame.jpg", Saved::Gif, 300, 200, 4, Profile::None, 1, false, 77, true},
        // libvips's thumbnail itself:
        {"deep.png", Saved::Png16, 400, 300, 3, Profile::None, 1, true, 100, false},
        {"ink.jpg", Saved::CmykJpeg, 400, 300, 3, Profile::None, 1, true, 100, false},
        {"pages.tif", Saved::TwoPageTiff, 400, 300, 3, Profile::None, 1, true, 100, false},
        {"moving.gif", Saved::ThreeFrameGif, 120, 90, 3, Profile::None, 1, true, 50, false},
        {"moving.jpg", Saved::ThreeFrameGif, 120, 90, 3, Profile::None, 1, true, 50, false},
        {"photo.webp", Saved::Webp, 400, 300, 3, Profile::None, 1, true, 100, false},
    };
    TempDir in;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool sidesSwap = c.orientation >= 5;
        const fs::path file = in / c.name;
        writeSource(file, c.saved, sidesSwap ? c.height : c.width, sidesSwap ? c.width : c.height, c.bands,
                    c.profile, c.orientation);

        const VImage headerImage = VImage::new_from_file(file.c_str());
        ASSERT_EQ(vips_image_get_orientation(headerImage.get_image()), c.orientation);
        const SourceHeader seen = sourceHeaderOf(headerImage);
        const StoredHeader& header = seen.stored;
        const ResizePlan plan = planResize(seen, c.name, c.target, c.widthMode ? Dimension::Width : Dimension::Height);
        ASSERT_EQ(plan.action, ResizePlan::Action::Scale);
        const ThumbnailRequest& request = plan.request;
        const ImageFormat format = plan.output.format;
        const ThumbnailSource source{file.string()};
        EXPECT_EQ(takesOwnSteps(source, header, request), c.ownSteps);

        const VImage ours = buildThumbnail(source, header, request, JpegDecode::Pixels).copy_memory();
        const VImage theirs = libvipsThumbnail(source, request).copy_memory();
        ASSERT_EQ(ours.width(), theirs.width());
        ASSERT_EQ(ours.height(), theirs.height());
        ASSERT_EQ(ours.bands(), theirs.bands());
        EXPECT_EQ(ours.width(), request.width);
        EXPECT_EQ(ours.format(), theirs.format());
        EXPECT_EQ(ours.interpretation(), theirs.interpretation());

        const bool premultiplied = (c.bands == 2 || c.bands == 4) && request.width != header.width &&
                                   request.height != header.height;
        if (!c.ownSteps || (reducesAsOurs && !(premultiplied && premultipliesInEightBits))) {
            EXPECT_EQ(largestDifference(ours, theirs), 0.0);
            EXPECT_TRUE(encodeImage(ours, format) == encodeImage(theirs, format)) << "the encoded files differ";
        } else if (premultiplied && premultipliesInEightBits) {
            // Our steps premultiply in float as 8.14's thumbnail does, this one in 8 bits: its
            // colors where alpha is low are others. The alpha band has no premultiplying.
            std::printf("%s: libvips %s's thumbnail premultiplies alpha in 8 bits, our steps (8.14's) in float: "
                        "compared is the alpha band, at %g dB or more\n",
                        c.name, testing::libvipsVersion().c_str(), kOtherArithmeticPsnr);
            const int alpha = ours.bands() - 1;
            EXPECT_GE(psnr(ours[alpha], theirs[alpha]), kOtherArithmeticPsnr);
        } else {
            const VImage withTheirReduce = thumbnailSteps(source, header, request, libvipsReduceToSize).copy_memory();
            EXPECT_EQ(largestDifference(withTheirReduce, theirs), 0.0) << "with libvips's reduce";
            EXPECT_TRUE(encodeImage(withTheirReduce, format) == encodeImage(theirs, format))
                << "the encoded files differ, with libvips's reduce";
            EXPECT_GE(psnr(ours, theirs), kOtherArithmeticPsnr);
        }

        // A JPEG reduced in its planes: other bytes, the same image.
        if (!mayTakeJpegPlanes(source, header, request)) continue;
        const VImage planes = buildThumbnail(source, header, request).copy_memory();
        EXPECT_EQ(planes.width(), theirs.width());
        EXPECT_EQ(planes.height(), theirs.height());
        EXPECT_EQ(planes.bands(), theirs.bands());
        EXPECT_EQ(planes.interpretation(), theirs.interpretation());
        EXPECT_EQ(planes.get_typeof(VIPS_META_ICC_NAME) != 0, theirs.get_typeof(VIPS_META_ICC_NAME) != 0);
        EXPECT_GE(psnr(planes, theirs), kOtherArithmeticPsnr);
    }
}

// Red on blue and green on magenta, 4:2:0: where chroma read at the wrong place or scaled with
// the wrong weights shows. Judged against the pattern before it was saved, scaled in float, the
// planes are at least as near as the pixels: 39.7 dB against 39.3 at a shrink of 4, 28.1 against
// 27.4 at 2.5. Against the saved photo decoded at full size they are 2 dB and 9 dB below the
// pixels, which share its clipping of out-of-gamut RGB at full size; on photos, where colours
// this saturated are rare, the planes come within 0.3 of a level of the pixels' band means.
TEST(ThumbnailSteps, JpegPlanesKeepSaturatedColourEdges)
{
    const VImage xy = VImage::xyz(1600, 1200);
    const VImage x = xy[0], y = xy[1];
    const VImage stripe = ((x * 2 + y) / 23).floor() % 2;
    const VImage ring = (((x - 1200) * (x - 1200) + (y - 600) * (y - 600)).pow(0.5) / 17).floor() % 2;
    const VImage redOnBlue = stripe.ifthenelse(std::vector<double>{255, 0, 0}, std::vector<double>{0, 0, 255});
    const VImage greenOnMagenta = ring.ifthenelse(std::vector<double>{0, 255, 0}, std::vector<double>{255, 0, 255});
    const VImage pattern = (x < 800).ifthenelse(redOnBlue, greenOnMagenta).cast(VIPS_FORMAT_FLOAT).copy_memory();
    TempDir in;
    const fs::path file = in / "edges.jpg";
    pattern.cast(VIPS_FORMAT_UCHAR)
        .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
        .jpegsave(file.c_str(), VImage::option()->set("Q", 90)->set("subsample_mode", VIPS_FOREIGN_SUBSAMPLE_ON));
    const SourceHeader seen = sourceHeaderOf(VImage::new_from_file(file.c_str()));
    const ThumbnailSource source{file.string()};
    for (const int target : {400, 640}) {
        SCOPED_TRACE(target);
        const ResizePlan plan = planResize(seen, "edges.jpg", target, Dimension::Width);
        ASSERT_TRUE(mayTakeJpegPlanes(source, seen.stored, plan.request));
        const VImage planes = buildThumbnail(source, seen.stored, plan.request).copy_memory();
        const VImage pixels = buildThumbnail(source, seen.stored, plan.request, JpegDecode::Pixels).copy_memory();
        const VImage truth = pattern.resize(static_cast<double>(target) / 1600,
                                            VImage::option()->set("kernel", VIPS_KERNEL_LANCZOS3))
                                 .round(VIPS_OPERATION_ROUND_RINT)
                                 .cast(VIPS_FORMAT_UCHAR);
        ASSERT_EQ(truth.width(), planes.width());
        ASSERT_EQ(truth.height(), planes.height());
        EXPECT_GE(psnr(truth, planes), psnr(truth, pixels) - 0.2);
    }
}

// A JPEG's planes are rounded to 8 bits once more on their way to RGB, which a lossless output
// keeps: a 4:2:0 JPEG written as PNG or TIFF is as near the photo decoded and scaled in float as
// its pixels scaled are (on a gradient, the planes were 2.4 dB further). A JPEG output, which
// takes the planes, stays near the photo too.
TEST(ThumbnailSteps, AJpegWrittenLosslessIsAsNearAsItsPixels)
{
    TempDir in;
    const fs::path file = in / "IMG_1.jpg";
    gradientImage(1600, 1200).jpegsave(
        file.c_str(), VImage::option()->set("Q", 90)->set("subsample_mode", VIPS_FOREIGN_SUBSAMPLE_ON));
    const VImage truth = VImage::new_from_file(file.c_str())
                             .cast(VIPS_FORMAT_FLOAT)
                             .resize(0.25, VImage::option()->set("kernel", VIPS_KERNEL_LANCZOS3))
                             .round(VIPS_OPERATION_ROUND_RINT)
                             .cast(VIPS_FORMAT_UCHAR);
    const SourceHeader seen = sourceHeaderOf(VImage::new_from_file(file.c_str()));
    const ResizePlan plan = planResize(seen, "IMG_1.jpg", 400, Dimension::Width);
    const VImage pixels =
        buildThumbnail(ThumbnailSource{file.string()}, seen.stored, plan.request, JpegDecode::Pixels).copy_memory();
    for (const ImageFormat format : {ImageFormat::Png, ImageFormat::Tiff, ImageFormat::Jpeg}) {
        SCOPED_TRACE(static_cast<int>(format));
        TempDir out;
        const ResizeResult result = resizeImage(file, SizeRule{SizeMode::Width, 400}, out.path(), {}, {format, 0});
        ASSERT_EQ(result.outcome(), Outcome::Resized) << result.message();
        const VImage written = VImage::new_from_file((out / listFolder(out.path()).at(0)).c_str());
        ASSERT_EQ(written.width(), truth.width());
        if (format == ImageFormat::Jpeg) {
            EXPECT_GE(psnr(truth, written), 40);
        } else {
            EXPECT_GE(psnr(truth, written), psnr(truth, pixels) - 0.05);
        }
    }
}

class OwnReduce : public EngineTest {};

// On libvips 8.14 our reduce gives libvips's bytes, so no output shows which one ran: the count
// does. Premultiplied alpha is scaled in float, by libvips.
TEST_F(OwnReduce, ScalesEightBitPhotosWithoutAlpha)
{
    const struct {
        const char* name;
        const char* format;
        bool ours;
    } cases[] = {{"photo.jpg", ".jpg", true}, {"photo.png", ".png", true}, {"alpha.png", ".png", false},
                 {"photo.tif", ".tif", true}, {"frame.gif", ".gif", true}, {"deep.png", ".png", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        VImage image = testing::gradientImage(800, 600, std::string(c.name) == "alpha.png" ? 4 : 3);
        if (!c.ours) image = (image.cast(VIPS_FORMAT_USHORT) * 256).cast(VIPS_FORMAT_USHORT).copy(
                             VImage::option()->set("interpretation", VIPS_INTERPRETATION_RGB16));
        testing::saveImage(image, in / c.name, c.format);
        const std::uint64_t before = lanczos3ReducesMade();
        ASSERT_EQ(run(c.name, 200).outcome(), Outcome::Resized);
        EXPECT_EQ(lanczos3ReducesMade() > before, c.ours);
    }
}

class MendedJpeg : public EngineTest {};

TEST_F(MendedJpeg, AProgressiveOneLackingItsEndMarkerGivesTheWholeOnesFileOneCutInItsDataFails)
{
    detailed(1600, 1200, 3).jpegsave((in / "whole.jpg").c_str(), VImage::option()->set("interlace", true));
    const std::string whole = readFile(in / "whole.jpg");
    writeFile(in / "noend.jpg", whole.substr(0, whole.size() - 2));
    writeFile(in / "cut.jpg", whole.substr(0, whole.size() - 300));  // inside its last scan
    // Shrunk 4x or more on load (by 2 and by 8) and not at all.
    for (const int target : {400, 100, 700}) {
        SCOPED_TRACE(target);
        TempDir wholeOut;
        ASSERT_EQ(runOn(in / "whole.jpg", target, Dimension::Width, wholeOut.path()).outcome(), Outcome::Resized);
        TempDir mendedOut;
        ASSERT_EQ(runOn(in / "noend.jpg", target, Dimension::Width, mendedOut.path()).outcome(), Outcome::Resized);
        EXPECT_TRUE(readFile(mendedOut / "noend.jpg") == readFile(wholeOut / "whole.jpg"));
        const ResizeResult cut = runOn(in / "cut.jpg", target, Dimension::Width, mendedOut.path());
        EXPECT_EQ(cut.message(), "cut.jpg - failed to create resized image");
        EXPECT_FALSE(fs::exists(mendedOut / "cut.jpg"));
    }
}

}  // namespace
}  // namespace voveriz::testing
