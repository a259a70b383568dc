#pragma once

#include "engine/plan/ThumbnailRequest.h"
#include "engine/source/SourceHeader.h"
#include "engine/source/ThumbnailSource.h"

#include <vips/vips8>

namespace voveriz {

// The request made by libvips's own thumbnail operation, in one call (sequential access, failing
// on a truncated file). Throws vips::VError.
vips::VImage libvipsThumbnail(const ThumbnailSource& source, const ThumbnailRequest& request);

}  // namespace voveriz
