#include "engine/pipeline/Thumbnail.h"

#include "engine/pipeline/JpegPlaneSteps.h"
#include "engine/pipeline/LibvipsThumbnail.h"
#include "engine/pipeline/ThumbnailSteps.h"

namespace voveriz {

bool takesOwnSteps(const ThumbnailSource& source, const StoredHeader& header, const ThumbnailRequest& request)
{
    // Only downsizing to a real size; the engine asks for nothing else.
    if (request.width < 1 || request.height < 1 || request.width > header.width || request.height > header.height) {
        return false;
    }
    // An animation kept as a GIF is scaled as one strip of frames, its vertical shrink adjusted so
    // that every frame keeps whole lines; the pages of a TIFF may be a pyramid thumbnail picks a
    // level from. Our steps take a single page or frame, so every multi-page file stays with thumbnail.
    if (request.allFrames || header.pages != 1) return false;
    // A TIFF with sub-images may be a pyramid too.
    if (header.subifds != 0) return false;
    // WebP, HEIC, PDF and SVG load at a scale, or from an embedded thumbnail, of their loader's own;
    // the other loaders (ImageMagick's for BMP, ...) are not among those checked against thumbnail.
    const std::string& loader = header.loader;
    if (loader != "jpegload" && loader != "pngload" && loader != "tiffload" && loader != "gifload") return false;
    // 16-bit and float pixels (PNG, TIFF) and packed ones (LabQ, Radiance) are not among the
    // checked cases, and the reduce that may take libvips's place is for 8-bit pixels.
    if (header.format != VIPS_FORMAT_UCHAR || header.coding != VIPS_CODING_NONE) return false;
    // Grey or RGB, with or without alpha. CMYK (thumbnail turns it into sRGB through a profile and
    // keeps the CMYK one attached), Lab and images of more bands are not among the checked cases.
    const bool grey = header.interpretation == VIPS_INTERPRETATION_B_W && header.bands <= 2;
    const bool rgb = header.interpretation == VIPS_INTERPRETATION_sRGB && (header.bands == 3 || header.bands == 4);
    if (!grey && !rgb) return false;
    // A baseline JPEG read with its end marker put back is decoded at full size, as thumbnail_image
    // does: libvips notices damage in a strip of 8 lines only when the next strip is asked for,
    // and shrink-on-load would make the last strip, whose damage goes unnoticed, up to 8 times
    // taller. A progressive one is read whole before its first line, and any damage shows then.
    return !source.endMarkerPutBack || header.interlaced;
}

bool mayTakeJpegPlanes(const ThumbnailSource& source, const StoredHeader& header, const ThumbnailRequest& request)
{
    // A mended file too: the planes fail on any warning up to the end marker, so no damage goes
    // unnoticed in a last strip, the one reason a mended baseline file is decoded at full size.
    ThumbnailSource whole = source;
    whole.endMarkerPutBack = false;
    return header.loader == "jpegload" && takesOwnSteps(whole, header, request);
}

vips::VImage buildThumbnail(const ThumbnailSource& source, const StoredHeader& header, const ThumbnailRequest& request,
                            JpegDecode decode)
{
    if (decode == JpegDecode::Planes && mayTakeJpegPlanes(source, header, request)) {
        if (auto planes = jpegPlaneSteps(source, header, request)) return *planes;
    }
    if (takesOwnSteps(source, header, request)) return thumbnailSteps(source, header, request);
    return libvipsThumbnail(source, request);
}

}  // namespace voveriz
