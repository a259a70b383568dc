#pragma once

#include <vips/vips8>

#include <cstdint>
#include <string>

namespace voveriz {

// What the header of a source's first page or frame says, as stored (before any EXIF turn): what
// the choice between the engine's own thumbnail steps and libvips's thumbnail rests on.
struct StoredHeader {
    std::string loader;  // libvips's loader: "jpegload", "pngload", "tiffload", "gifload", ...
    int width = 0;
    int height = 0;
    int bands = 0;
    VipsBandFormat format = VIPS_FORMAT_NOTSET;
    VipsInterpretation interpretation = VIPS_INTERPRETATION_ERROR;
    VipsCoding coding = VIPS_CODING_NONE;
    int pages = 1;    // pages or frames in the file, as its header declares them
    int subifds = 0;  // TIFF sub-images, the levels of a pyramid (as thumbnail counts them: 0 for one)
    bool interlaced = false;  // a progressive JPEG or an interlaced PNG
};

// The header of an image libvips has opened (nothing decoded).
StoredHeader storedHeaderOf(const vips::VImage& header);

// The header as the user sees the image: its size with the EXIF orientation applied, and what
// the plan for it rests on. Nothing is decoded.
struct SourceHeader {
    std::int64_t width = 0;
    std::int64_t height = 0;
    int orientation = 1;  // EXIF: 1 upright; 5 to 8 swap width and height
    bool hasProfile = false;
    StoredHeader stored;  // as stored, for the thumbnail steps

    bool gif() const { return stored.loader == "gifload"; }    // read by libvips's own GIF decoder
    bool jpeg() const { return stored.loader == "jpegload"; }  // read by libjpeg
    // Turned upright after scaling; with orientations 5 to 8 the stored sides are the other way round.
    bool turned() const { return orientation != 1; }
    bool sidesSwap() const { return orientation >= 5 && orientation <= 8; }
};

// The header of an image libvips has opened.
SourceHeader sourceHeaderOf(const vips::VImage& header);

}  // namespace voveriz
