#pragma once

#include <vips/vips8>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace voveriz::testing {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Writes a test image of width x height with the given number of bands (3 = RGB, 4 = RGBA),
// encoded by the file name's extension (jpg, png, tif, gif, webp ...). The pixels are a
// smooth gradient so that encoders and resamplers have something real to work on.
void writeImage(const std::filesystem::path& file, int width, int height, int bands = 3);

// The pixel size of an image file as libvips reads it (first page, stored orientation).
struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};
PixelSize imageSize(const std::filesystem::path& file);

// The gradient image that writeImage writes, for tests that change it before saving.
vips::VImage gradientImage(int width, int height, int bands = 3);

// Saves image as the given format (".jpg", ".png", ".tif", ".gif", ".bmp", ".heic", ...) whatever the
// file's own name is; ".bmp" goes through ImageMagick, the only BMP writer libvips has.
void saveImage(const vips::VImage& image, const std::filesystem::path& file, const std::string& format);

// The loader libvips picks for a file ("jpegload", "pngload", "tiffload", "gifload", "magickload", ...).
std::string loaderOf(const std::filesystem::path& file);

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& bytes);

// The names of the entries of a folder, sorted.
std::vector<std::string> listFolder(const std::filesystem::path& dir);

}  // namespace voveriz::testing
