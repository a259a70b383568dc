#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace voveriz {

// Photoshop's image resources ("8BIM" blocks) as libvips keeps them: a JPEG's APP13 in
// "iptc-data", beginning "Photoshop 3.0\0", and a TIFF's resources in "photoshop-data", without
// that header. A TIFF's IPTC ("iptc-data" too) is bare IPTC-IIM datasets instead.
//
// The resources with the embedded thumbnail (1033, 1036) show the source, so they never reach an
// output. With dropLocation, the IPTC resource (1028) loses its place names and the copies of
// EXIF (1058) and XMP (1060) go, since they may hold GPS. None when the blob does not parse.
std::optional<std::string> photoshopResourcesForOutput(std::string_view blob, bool dropLocation);

// Bare IPTC-IIM datasets without the place names: 2:26 and 2:27 (content location code and
// name), 2:90 (city), 2:92 (sublocation), 2:95 (province or state), 2:100 and 2:101 (country
// code and name). None when the datasets do not parse.
std::optional<std::string> iptcWithoutLocation(std::string_view datasets);

}  // namespace voveriz
