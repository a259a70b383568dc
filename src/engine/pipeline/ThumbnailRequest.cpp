#include "engine/pipeline/ThumbnailRequest.h"

#include "engine/source/JpegEndMarker.h"
#include "engine/source/UnmappedSource.h"

#include <string_view>

namespace voveriz {

StoredHeader storedHeaderOf(const vips::VImage& header)
{
    StoredHeader stored;
    // The same loader reads a file by name ("jpegload") or a source ("jpegload_source").
    std::string_view loader = header.get_typeof("vips-loader") != 0 ? header.get_string("vips-loader") : "";
    constexpr std::string_view fromSource = "_source";
    if (loader.size() > fromSource.size() && loader.substr(loader.size() - fromSource.size()) == fromSource) {
        loader.remove_suffix(fromSource.size());
    }
    stored.loader = loader;
    stored.width = header.width();
    stored.height = header.height();
    stored.bands = header.bands();
    stored.format = header.format();
    stored.interpretation = header.interpretation();
    stored.coding = header.coding();
    stored.pages = header.get_typeof("n-pages") != 0 ? header.get_int("n-pages") : 1;
    stored.subifds = vips_image_get_n_subifds(header.get_image());
    stored.interlaced = header.get_typeof("interlaced") != 0 && header.get_int("interlaced") != 0;
    return stored;
}

vips::VSource readerOf(const ThumbnailSource& source)
{
    return source.endMarkerPutBack ? sourceWithJpegEndMarker(source.fd) : unmappedSource(source.fd);
}

vips::VImage openImage(const ThumbnailSource& source, vips::VOption* options)
{
    if (source.fd >= 0) return vips::VImage::new_from_source(readerOf(source), "", options);
    if (!source.bytes.empty()) return vips::VImage::new_from_buffer(source.bytes.data(), source.bytes.size(), "", options);
    return vips::VImage::new_from_file(source.path.c_str(), options);
}

}  // namespace voveriz
