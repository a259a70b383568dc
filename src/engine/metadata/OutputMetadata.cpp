#include "engine/metadata/OutputMetadata.h"

#include "engine/metadata/JpegExifSegment.h"
#include "engine/metadata/PhotoshopResources.h"
#include "engine/metadata/PngExifChunk.h"
#include "engine/metadata/XmpForOutput.h"

#include <glib.h>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace voveriz {

using vips::VImage;

namespace {

// Metadata fields of libvips (8.14) that its savers write out: "exif-data" is rebuilt on saving
// from the "exif-ifdN-..." fields (a tag whose field is gone is left out) and "jpeg-thumbnail-data";
// "xmp-data", "iptc-data" and "photoshop-data" are written as they are (JPEG: EXIF, XMP, IPTC;
// PNG: EXIF, XMP, comments; TIFF: XMP, IPTC, Photoshop). "icc-profile-data" is the color profile.
// libvips 8.15 and later rebuild "exif-data" before any saver runs, a fresh block when there is none.
constexpr const char* kExif = "exif-data";
constexpr const char* kThumbnail = "jpeg-thumbnail-data";
constexpr const char* kXmp = "xmp-data";
constexpr const char* kIptc = "iptc-data";
constexpr const char* kPhotoshop = "photoshop-data";

std::vector<std::string> fieldNames(const VImage& image)
{
    std::unique_ptr<gchar*, decltype(&g_strfreev)> fields(vips_image_get_fields(image.get_image()), &g_strfreev);
    std::vector<std::string> names;
    for (gchar** field = fields.get(); *field != nullptr; ++field) names.emplace_back(*field);
    return names;
}

bool isStrippedField(std::string_view name)
{
    return name.starts_with("exif-") || name == kThumbnail || name == kXmp || name == kIptc || name == kPhotoshop
           || name.starts_with("png-comment-") || name == "gif-comment" || name.starts_with("magickprofile-");
}

// EXIF's IFD1 holds the thumbnail, IFD3 the GPS block.
bool isThumbnailField(std::string_view name)
{
    return name == kThumbnail || name.starts_with("exif-ifd1-");
}

bool isLocationField(std::string_view name)
{
    // PNG text that ImageMagick writes: EXIF, XMP or IPTC in hexadecimal, which may hold GPS.
    return name.starts_with("exif-ifd3-")
           || (name.starts_with("png-comment-") && name.find("-Raw profile type ") != std::string_view::npos);
}

std::string_view blobOf(const VImage& image, const char* field)
{
    size_t length = 0;
    const void* data = image.get_blob(field, &length);
    return {static_cast<const char*>(data), length};
}

void setBlob(VImage& image, const char* field, const std::string& bytes)
{
    vips_image_set_blob_copy(image.get_image(), field, bytes.data(), bytes.size());
}

// Replaces the field's blob with edit(blob); removes the field when edit leaves nothing in it
// (libvips ignores an empty blob, which would keep the old one), or gives none and the blob must
// not stay unread.
template <typename Edit>
void editBlob(VImage& image, const char* field, bool removeUnreadable, Edit&& edit)
{
    if (image.get_typeof(field) == 0) return;
    const std::string_view blob = blobOf(image, field);
    const std::optional<std::string> edited = edit(blob);
    if (!edited) {
        if (removeUnreadable) image.remove(field);
    } else if (edited->empty()) {
        image.remove(field);
    } else if (*edited != blob) {
        setBlob(image, field, *edited);
    }
}

}  // namespace

VImage withOutputMetadata(VImage image, const MetadataOptions& options)
{
    image = image.copy();
    for (const std::string& name : fieldNames(image)) {
        if (options.strip ? isStrippedField(name)
                          : isThumbnailField(name) || (options.stripLocation && isLocationField(name))) {
            image.remove(name.c_str());
        }
    }
    if (options.strip) return image;

    const bool dropLocation = options.stripLocation;
    editBlob(image, kXmp, dropLocation, [&](std::string_view xmp) {
        return xmpForOutput(xmp, {image.width(), image.height(), dropLocation});
    });
    editBlob(image, kIptc, dropLocation, [&](std::string_view iptc) -> std::optional<std::string> {
        if (iptc.starts_with("Photoshop 3.0")) return photoshopResourcesForOutput(iptc, dropLocation);
        if (!dropLocation) return std::string(iptc);
        return iptcWithoutLocation(iptc);
    });
    editBlob(image, kPhotoshop, dropLocation,
             [&](std::string_view resources) { return photoshopResourcesForOutput(resources, dropLocation); });
    return image;
}

std::string finishedJpeg(std::string jpeg, const MetadataOptions& options)
{
    if (!options.strip) return jpeg;
    return withoutExifSegments(std::move(jpeg));
}

std::string finishedPng(std::string png, const VImage& image)
{
    if (image.get_typeof(kExif) != 0) return png;
    return withoutExifChunks(std::move(png));
}

}  // namespace voveriz
