#pragma once

#include <vips/vips8>

#include <string>

namespace voveriz {

// How much of its source's metadata a resized file keeps. Whatever the choice, what it keeps
// never contradicts its pixels: the size and orientation say what the pixels are, and no embedded
// preview of the source (EXIF's IFD1 thumbnail, XMP's xmp:Thumbnails, Photoshop's thumbnail
// resource) is kept, because it would show the photo unturned and at its old size.
struct MetadataOptions {
    // No EXIF, XMP, IPTC, Photoshop resources or text comments; the colour profile stays.
    bool strip = false;
    // No GPS in EXIF or XMP, and none of XMP's and IPTC's place names; everything else stays.
    bool stripLocation = false;
    bool operator==(const MetadataOptions&) const = default;
};

// image with the metadata its resized file is to carry; the pixels are untouched. Blobs that
// cannot be read are kept as they are, unless they may hold what an option removes.
vips::VImage withOutputMetadata(vips::VImage image, const MetadataOptions& options);

// What a JPEG written by libvips from an image with the metadata above still needs: libvips
// writes an EXIF block into every JPEG it saves with metadata, a fresh one when the image has
// none, so a stripped JPEG loses that block here.
std::string finishedJpeg(std::string jpeg, const MetadataOptions& options);

}  // namespace voveriz
