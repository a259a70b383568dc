#include "engine/pipeline/LibvipsThumbnail.h"

#include <memory>

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
        const VImage whole = openImage(
            source, VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL)->set("fail_on", loaderFailOn(source)));
        return whole.thumbnail_image(request.width, thumbnailOptions(request));
    }
    if (source.fd < 0 && source.bytes.empty()) {
        return VImage::thumbnail((source.path + (request.allFrames ? "[n=-1]" : "")).c_str(), request.width,
                                 thumbnailOptions(request));
    }
    // thumbnail_source and thumbnail_buffer hand the loader their option string, but not their
    // fail_on (libvips 8.14), so fail_on goes in the string too.
    const char* loaderOptions = request.allFrames ? "n=-1,fail_on=truncated" : "fail_on=truncated";
    if (source.fd >= 0) {
        return VImage::thumbnail_source(readerOf(source), request.width,
                                        thumbnailOptions(request)->set("option_string", loaderOptions));
    }
    const std::unique_ptr<VipsArea, decltype(&vips_area_unref)> blob(
        VIPS_AREA(vips_blob_new(nullptr, source.bytes.data(), source.bytes.size())), &vips_area_unref);
    return VImage::thumbnail_buffer(reinterpret_cast<VipsBlob*>(blob.get()), request.width,
                                    thumbnailOptions(request)->set("option_string", loaderOptions));
}

}  // namespace voveriz
