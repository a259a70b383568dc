#pragma once

#include "engine/ThumbnailRequest.h"

#include <vips/vips8>

namespace voveriz {

// The steps libvips 8.14's thumbnail takes for a single-page 8-bit image, taken one by one so
// that the reduce is the engine's own (reduceToSize): the load (sequential, with JPEG
// shrink-on-load where thumbnail would use it), the processing space, premultiplied alpha, the
// reduce, and the output colour. Nothing is turned. Throws vips::VError.
vips::VImage thumbnailSteps(const ThumbnailSource& source, const StoredHeader& header,
                            const ThumbnailRequest& request);

}  // namespace voveriz
