#pragma once

#include "engine/plan/ThumbnailRequest.h"
#include "engine/source/SourceHeader.h"
#include "engine/source/ThumbnailSource.h"

#include <vips/vips8>

#include <optional>

namespace voveriz {

// The thumbnail steps (ThumbnailSteps.h) for a YCbCr or grey JPEG, with its planes reduced as they
// are stored: Y, Cb and Cr decoded at the same DCT scale, each reduced by our Lanczos3 reduce to
// the requested size, and only then turned into RGB. libjpeg would upsample the chroma and turn
// every pixel of the full-size image into RGB before the reduce. The image carries the metadata
// libvips reads from the file, and streams as the steps do. Nothing where the file's planes do not
// suit (CMYK, YCCK, RGB, odd sampling, or chroma planes smaller than the request): the caller
// takes the steps then. Throws vips::VError; a damaged file fails as it is read, any libjpeg
// warning included, so that the caller can read it as the steps would.
std::optional<vips::VImage> jpegPlaneSteps(const ThumbnailSource& source, const StoredHeader& header,
                                           const ThumbnailRequest& request);

// After image (from jpegPlaneSteps, or any other) was read: false where it came from planes that
// failed or stopped short. Seen with libvips 8.14: a JPEG encode that succeeded with its last strip
// black, after the planes had failed at the end of a file that lacks its end marker.
bool planesReadWhole(const vips::VImage& image);

}  // namespace voveriz
