#pragma once

namespace voveriz {

// How much of its source's metadata a resized file keeps. Whatever the choice, what it keeps
// never contradicts its pixels (see withOutputMetadata). A copy is always the source's bytes.
struct MetadataOptions {
    // No EXIF, XMP, IPTC, Photoshop resources or text comments; the color profile stays.
    bool strip = false;
    // No GPS in EXIF or XMP, and none of XMP's and IPTC's place names; everything else stays.
    bool stripLocation = false;
    // The resized file takes its source's modification time (a copy always does).
    bool keepModificationTime = false;
    bool operator==(const MetadataOptions&) const = default;
};

}  // namespace voveriz
