#pragma once

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

}  // namespace voveriz
