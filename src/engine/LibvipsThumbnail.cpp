#include "engine/LibvipsThumbnail.h"

#include "engine/JpegEndMarker.h"

namespace voveriz {

using vips::VImage;

namespace {

// Made where a call takes them: libvips frees them then, also when the call fails. no_rotate
// always: the request is as stored (for an upright photo it changes nothing).
vips::VOption* thumbnailOptions(const ThumbnailRequest& request)
{
    auto options = VImage::option()
                       ->set("height", request.height)
                       ->set("size", VIPS_SIZE_FORCE)
                       ->set("no_rotate", true)
                       ->set("fail_on", VIPS_FAIL_ON_TRUNCATED);
    if (request.exportSrgb) {
        options->set("export_profile", "srgb");
    }
    return options;
}

}  // namespace

VImage libvipsThumbnail(const ThumbnailSource& source, const ThumbnailRequest& request)
{
    if (source.endMarkerPutBack) {
        // thumbnail_source would not pass fail_on on to the loader (libvips 8.14): load, then scale.
        const vips::VSource marked = sourceWithJpegEndMarker(source.fd);
        const VImage whole = VImage::new_from_source(
            marked, "", VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL)->set("fail_on", VIPS_FAIL_ON_WARNING));
        return whole.thumbnail_image(request.width, thumbnailOptions(request));
    }
    return VImage::thumbnail((source.path + (request.allFrames ? "[n=-1]" : "")).c_str(), request.width,
                             thumbnailOptions(request));
}

}  // namespace voveriz
