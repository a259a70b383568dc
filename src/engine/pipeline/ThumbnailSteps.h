#pragma once

#include "engine/resample/ReduceToSize.h"
#include "engine/plan/ThumbnailRequest.h"
#include "engine/source/SourceHeader.h"
#include "engine/source/ThumbnailSource.h"

#include <vips/vips8>

namespace voveriz {

// The steps libvips 8.14's thumbnail takes for a single-page 8-bit image, taken one by one so
// that the reduce is the engine's own (reduceToSize): the load (sequential, with JPEG
// shrink-on-load where thumbnail would use it), the processing space, premultiplied alpha, the
// reduce, and the output color. Nothing is turned. Throws vips::VError.
// With libvipsReduceToSize as `reduce`, every step is thumbnail's, its reduce too: what a test
// compares with thumbnail bit for bit on a libvips whose reduce has other arithmetic than ours.
using ReduceStep = vips::VImage (*)(vips::VImage in, double hscale, double vscale);
vips::VImage thumbnailSteps(const ThumbnailSource& source, const StoredHeader& header,
                            const ThumbnailRequest& request, ReduceStep reduce = reduceToSize);

// The steps one by one, for a path that takes some of its own (JpegPlaneSteps.h).
// The DCT scale (1, 2, 4 or 8) the steps load a JPEG at for this request.
int jpegShrinkOnLoad(const StoredHeader& header, const ThumbnailRequest& request);
// The source opened as the steps read it: sequential, a JPEG at 1/jpegShrinkOnLoad.
vips::VImage loadForSteps(const ThumbnailSource& source, const StoredHeader& header,
                          const ThumbnailRequest& request);
// image reduced (reduceToSize) to the request's size, each side shrunk to no less than a pixel.
vips::VImage reduceToRequest(const vips::VImage& image, const ThumbnailRequest& request);
// The same by our own reduce with each axis smoothed first (lanczos3Reduce); image of 8 bits.
vips::VImage reduceToRequest(const vips::VImage& image, const ThumbnailRequest& request, double hsmoothing,
                             double vsmoothing);
// The last step: pixels in their profile's space, or turned into sRGB where the request asks.
vips::VImage outputColor(vips::VImage image, const ThumbnailRequest& request);

}  // namespace voveriz
