#pragma once

#include <vips/vips8>

#include <filesystem>
#include <string>

namespace voveriz::testing {

// What a test photo carries besides its pixels. Every block is made here: EXIF through libexif,
// XMP as text, IPTC as a Photoshop APP13 block.
struct PhotoMetadata {
    int orientation = 1;      // EXIF and XMP (tiff:Orientation)
    bool thumbnail = false;   // a 160x100 JPEG in EXIF's IFD1, and Photoshop's thumbnail resource
    bool location = false;    // EXIF GPS, XMP exif:GPSLatitude and photoshop:City, IPTC city
    bool p3Profile = false;   // the Display P3 profile instead of none
};

// Marks the test looks for when reading a file back: each must survive where its block does.
inline constexpr const char* kCameraMake = "Voveriz Test Camera";  // EXIF Make
inline constexpr const char* kCaption = "Kept caption";            // XMP dc:description, IPTC 2:120
inline constexpr const char* kCity = "Testville";                  // XMP photoshop:City, IPTC 2:90
inline constexpr const char* kPhotoshopPreview = "old preview";    // Photoshop resource 1036

// Saves picture (stored as given, upright or turned) with that metadata in format (".jpg", ".png", ".tif").
void writePhoto(const vips::VImage& picture, const PhotoMetadata& metadata, const std::filesystem::path& file,
                const std::string& format = ".jpg");

// A file's metadata as libvips reads it back, EXIF parsed by libexif.
struct ReadBack {
    bool exif = false;           // any EXIF block
    bool exifThumbnail = false;  // IFD1 with thumbnail data or tags
    bool exifGps = false;        // a GPS IFD with entries
    int exifOrientation = 0;     // 0 without the tag
    bool cameraMake = false;
    std::string xmp;                // empty when none
    std::string iptc;               // empty when none, Photoshop resources included
    std::string profile;            // the ICC profile, empty when none
    vips::VImage pixels;
};
ReadBack readBack(const std::filesystem::path& file);

// The Display P3 profile libvips carries.
std::string displayP3Profile();

}  // namespace voveriz::testing
