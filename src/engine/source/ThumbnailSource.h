#pragma once

#include <vips/vips8>

#include <string>
#include <string_view>

namespace voveriz {

// Where the pixels come from: the source as the engine opened it.
struct ThumbnailSource {
    std::string path;               // what libvips opens by name where neither fd nor bytes is set
    int fd = -1;                    // the file, open: read through an unmapped source (UnmappedSource.h)
    bool endMarkerPutBack = false;  // a JPEG read with the end-of-image marker it lacks put back
    std::string_view bytes = {};    // else the file in memory (SourceSnapshot.h), for a buffer loader

    // Nothing to read: a file too large to copy for a loader that reads no source.
    bool empty() const { return fd < 0 && bytes.empty() && path.empty(); }
};

// The libvips source that reads source.fd (with the end marker put back where asked).
vips::VSource readerOf(const ThumbnailSource& source);

// A libvips source of whichever source holds: its reader where fd is set, else its bytes (not
// copied: they must outlive it), else the file at path. Throws vips::VError.
vips::VSource streamOf(const ThumbnailSource& source);

// The image of source, opened with options (which it frees): from its reader where fd is set,
// else from its bytes, else from path. Throws vips::VError.
vips::VImage openImage(const ThumbnailSource& source, vips::VOption* options = nullptr);

// How much damage the loader forgives: a cut file always fails; a JPEG read with its end marker
// put back fails on any warning, as only one whose image data is complete decodes without one.
VipsFailOn loaderFailOn(const ThumbnailSource& source);

}  // namespace voveriz
