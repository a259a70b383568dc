#pragma once

#include <vips/vips8>

#include <string>
#include <string_view>

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

// Where the pixels come from: the source as the engine opened it.
struct ThumbnailSource {
    std::string path;               // what libvips opens by name where neither fd nor bytes is set
    int fd = -1;                    // the file, open: read through an unmapped source (UnmappedSource.h)
    bool endMarkerPutBack = false;  // a JPEG read with the end-of-image marker it lacks put back
    std::string_view bytes = {};    // else the file in memory (SourceSnapshot.h), for a buffer loader
};

// The libvips source that reads source.fd (with the end marker put back where asked).
vips::VSource readerOf(const ThumbnailSource& source);

// The image of source, opened with options (which it frees): from its reader where fd is set,
// else from its bytes, else from path. Throws vips::VError.
vips::VImage openImage(const ThumbnailSource& source, vips::VOption* options = nullptr);

// The image to make, as stored: a turned photo is scaled as it is stored and the caller turns it
// upright afterwards. Each side is scaled on its own to exactly its size (libvips's size "force").
struct ThumbnailRequest {
    int width = 0;
    int height = 0;
    bool allFrames = false;   // every frame of an animation, one below the other; else the first
    bool exportSrgb = false;  // pixels converted to sRGB by their profile, for a format that cannot carry one
};

}  // namespace voveriz
