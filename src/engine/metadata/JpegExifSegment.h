#pragma once

#include <string>

namespace voveriz {

// A JPEG without its EXIF segments (APP1 beginning "Exif\0\0"); every other byte stays. Meant
// for what libjpeg has just written: markers before the first scan, each with its length. A
// stream that does not read that way is returned as it is.
std::string withoutExifSegments(std::string jpeg);

}  // namespace voveriz
