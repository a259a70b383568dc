#pragma once

#include "engine/plan/ThumbnailRequest.h"
#include "engine/source/SourceHeader.h"
#include "engine/source/ThumbnailSource.h"

#include <vips/vips8>

namespace voveriz {

// The scaled image of a source, not yet turned upright and not yet encoded: made by the engine's
// own steps where they are known to give libvips 8.14's thumbnail bit for bit, else by thumbnail
// itself. On a later libvips the steps stay 8.14's: they differ from its thumbnail by its
// reduce's arithmetic (8-bit pixels) and, for premultiplied alpha, its premultiplying in 8 bits;
// without alpha, by the reduce alone (ThumbnailStepsTest). A JPEG the steps take is reduced in
// its Y, Cb and Cr planes where they suit (JpegPlaneSteps.h), unless decode says Pixels. The one
// place that chooses between the three. Throws vips::VError.
enum class JpegDecode { Planes, Pixels };
vips::VImage buildThumbnail(const ThumbnailSource& source, const StoredHeader& header, const ThumbnailRequest& request,
                            JpegDecode decode = JpegDecode::Planes);

// Whether buildThumbnail may read this source through its planes (it still reads it as pixels
// where its planes turn out not to suit).
bool mayTakeJpegPlanes(const ThumbnailSource& source, const StoredHeader& header, const ThumbnailRequest& request);

// Whether buildThumbnail takes the engine's own steps for this source and request.
bool takesOwnSteps(const ThumbnailSource& source, const StoredHeader& header, const ThumbnailRequest& request);

}  // namespace voveriz
