#include "engine/source/SourceHeader.h"

#include <string_view>
#include <utility>

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

SourceHeader sourceHeaderOf(const vips::VImage& header)
{
    SourceHeader seen;
    seen.width = header.width();
    seen.height = header.height();
    seen.orientation = vips_image_get_orientation(header.get_image());
    if (vips_image_get_orientation_swap(header.get_image())) std::swap(seen.width, seen.height);
    seen.hasProfile = header.get_typeof(VIPS_META_ICC_NAME) != 0;
    seen.stored = storedHeaderOf(header);
    return seen;
}

}  // namespace voveriz
