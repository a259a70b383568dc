#pragma once

#include "engine/metadata/MetadataOptions.h"
#include "engine/plan/OutputFormat.h"

#include <vips/vips8>

#include <string>

namespace voveriz {

// Encodes image in output's format: JPEG, WebP, AVIF, HEIC and JPEG XL at output's quality (0: the
// format's defaultQuality, JPEG 92); PNG, TIFF and GIF with their encoder's defaults; BMP by
// bmpFile, which no ImageMagick policy limits. JPEG and BMP, which have no transparency, get
// transparent areas flattened onto white; the others keep them.
// A color profile that does not fit the pixels (a CMYK profile on RGB pixels) is left out; the
// other metadata is what withOutputMetadata leaves for these options.
// Throws vips::VError when encoding fails.
std::string encodeImage(vips::VImage image, const OutputFormat& output, const MetadataOptions& metadata = {});

// The same in format at its default quality.
std::string encodeImage(vips::VImage image, ImageFormat format, const MetadataOptions& metadata = {});

}  // namespace voveriz
