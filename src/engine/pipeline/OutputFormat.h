#pragma once

#include "engine/metadata/OutputMetadata.h"

#include <vips/vips8>

#include <string>

namespace voveriz {

enum class ImageFormat { Jpeg, Png, Tiff, Bmp, Gif };

// The format a scaled image is written in, and the extension of the written file (always lower case).
struct OutputFormat {
    ImageFormat format;
    std::string extension;
    bool operator==(const OutputFormat&) const = default;
};

// The output format table, keyed by the source's extension in any case: jpg, jpeg, png, tiff,
// tif, bmp and gif keep their (lower-cased) extension; anything else, none included, is JPEG ".jpg".
OutputFormat outputFormatFor(const std::string& sourceExtension);

// Whether the format can carry an ICC profile (else the engine converts to sRGB before writing).
bool carriesColorProfile(ImageFormat format);

// Encodes image (JPEG at quality 92; PNG, TIFF and GIF with their encoder's defaults; BMP by
// bmpFile, which no ImageMagick policy limits). JPEG and BMP, which have no transparency, get
// transparent areas flattened onto white.
// A color profile that does not fit the pixels (a CMYK profile on RGB pixels) is left out; the
// other metadata is what withOutputMetadata leaves for these options.
// Throws vips::VError when encoding fails.
std::string encodeImage(vips::VImage image, ImageFormat format, const MetadataOptions& metadata = {});

}  // namespace voveriz
