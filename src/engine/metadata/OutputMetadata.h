#pragma once

#include "engine/metadata/MetadataOptions.h"

#include <vips/vips8>

#include <string>

namespace voveriz {

// image with the metadata its resized file is to carry; the pixels are untouched. Whatever the
// options, what it keeps never contradicts the pixels: the size and orientation say what they
// are, and no embedded preview of the source (EXIF's IFD1 thumbnail, XMP's xmp:Thumbnails,
// Photoshop's thumbnail resource) is kept, because it would show the photo unturned and at its
// old size. Blobs that cannot be read are kept as they are, unless they may hold what an option
// removes.
vips::VImage withOutputMetadata(vips::VImage image, const MetadataOptions& options);

// What a JPEG written by libvips from an image with the metadata above still needs: libvips
// writes an EXIF block into every JPEG it saves with metadata, a fresh one when the image has
// none, so a stripped JPEG loses that block here.
std::string finishedJpeg(std::string jpeg, const MetadataOptions& options);

// What a PNG written by libvips from image (as withOutputMetadata left it) still needs: a PNG
// carries EXIF only when its image does. libvips 8.15 and later write an EXIF block into every PNG
// they save with metadata, a fresh one when the image has none (orientation, a resolution, the
// size and a color space of "Uncalibrated", which misleads color-managed viewers); that fresh
// block goes here, stripped or not, as 8.14 writes none.
std::string finishedPng(std::string png, const vips::VImage& image);

}  // namespace voveriz
