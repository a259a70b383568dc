#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace voveriz {

enum class ImageFormat { Jpeg, Png, Tiff, Bmp, Gif, Webp, Avif, Heic, Jxl };

// The format a scaled image is written in, the extension of the written file (always lower case),
// and the encoder's quality, 1 to 100 for a lossy format; 0 is the format's default.
struct OutputFormat {
    ImageFormat format;
    std::string extension;
    int quality = 0;
    bool operator==(const OutputFormat&) const = default;
};

// The output format table, keyed by the source's extension in any case: jpg, jpeg, png, tiff,
// tif, bmp and gif keep their (lower-cased) extension; anything else, none included, is JPEG ".jpg".
OutputFormat outputFormatFor(const std::string& sourceExtension);

// The format asked for by name ("jpeg", "png", "webp", "avif", "heic", "jxl", "tiff", "gif" or
// "bmp", lower case), written with its usual extension (".jpg", ".tiff", ...). None for another name.
std::optional<ImageFormat> imageFormatNamed(std::string_view name);
std::string_view nameOf(ImageFormat format); // "jpeg", "webp", ...: what imageFormatNamed takes
std::string_view titleOf(ImageFormat format); // "JPEG", "WebP", "JPEG XL", ...: as a line shows it
std::string_view extensionOf(ImageFormat format); // "jpg", "webp", "tiff", ...

// The format whose files usually end in extension (any case): "jpe", "heif" and "tif" included.
std::optional<ImageFormat> formatOfExtension(std::string_view extension);

// Whether the format loses detail in encoding and so takes a quality; PNG, TIFF, GIF and BMP do not.
bool isLossy(ImageFormat format);

// The quality the format is written at when none is asked for: JPEG 92, and for the others the
// lowest whose PSNR on phone photos reaches JPEG 92's, or WebP's best (docs/benchmarks.md).
int defaultQuality(ImageFormat format);

// Whether the format can carry an ICC profile (else the engine converts to sRGB before writing).
bool carriesColorProfile(ImageFormat format);

}  // namespace voveriz
