#include "engine/source/ThumbnailSource.h"

#include "engine/source/JpegEndMarker.h"
#include "engine/source/UnmappedSource.h"

namespace voveriz {

vips::VSource readerOf(const ThumbnailSource& source)
{
    return source.endMarkerPutBack ? sourceWithJpegEndMarker(source.fd) : unmappedSource(source.fd);
}

vips::VSource streamOf(const ThumbnailSource& source)
{
    if (source.fd >= 0) return readerOf(source);
    if (!source.bytes.empty()) return vips::VSource::new_from_memory(source.bytes.data(), source.bytes.size());
    return vips::VSource::new_from_file(source.path.c_str());
}

vips::VImage openImage(const ThumbnailSource& source, vips::VOption* options)
{
    if (source.fd >= 0) return vips::VImage::new_from_source(readerOf(source), "", options);
    if (!source.bytes.empty()) {
        return vips::VImage::new_from_buffer(source.bytes.data(), source.bytes.size(), "", options);
    }
    return vips::VImage::new_from_file(source.path.c_str(), options);
}

VipsFailOn loaderFailOn(const ThumbnailSource& source)
{
    return source.endMarkerPutBack ? VIPS_FAIL_ON_WARNING : VIPS_FAIL_ON_TRUNCATED;
}

}  // namespace voveriz
