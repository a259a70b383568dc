#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace voveriz {

// What a resized file's XMP must say: its pixel size, and upright (the pixels are turned upright
// before they are written). XMP's own embedded previews (xmp:Thumbnails) show the source, so
// they go; with dropLocation, so do GPS (exif:GPS*, exifEX:GPS*) and the place names
// (photoshop:City, State and Country; Iptc4xmpCore:Location and CountryCode; Iptc4xmpExt's
// LocationCreated and LocationShown).
struct XmpChanges {
    int width = 0;
    int height = 0;
    bool dropLocation = false;
};

// The packet with those changes, or the packet unchanged when it needs none. None when it cannot
// be read as XMP. Thread safe.
std::optional<std::string> xmpForOutput(std::string_view packet, const XmpChanges& changes);

}  // namespace voveriz
