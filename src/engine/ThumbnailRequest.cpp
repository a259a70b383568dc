#include "engine/ThumbnailRequest.h"

namespace voveriz {

StoredHeader storedHeaderOf(const vips::VImage& header)
{
    StoredHeader stored;
    stored.loader = header.get_typeof("vips-loader") != 0 ? header.get_string("vips-loader") : "";
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

}  // namespace voveriz
