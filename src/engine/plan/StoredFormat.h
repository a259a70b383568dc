#pragma once

#include "engine/plan/OutputFormat.h"

#include <vips/vips8>

#include <optional>

namespace voveriz {

// The format an opened image is stored in, by the loader that reads it (and, for HEIF, by its
// compression: AV1 is AVIF, anything else HEIC). None for a loader of another format, or
// ImageMagick's, which reads BMP among many.
std::optional<ImageFormat> storedFormatOf(const vips::VImage& header);

} // namespace voveriz
