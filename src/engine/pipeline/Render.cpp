#include "engine/pipeline/Render.h"

#include "engine/pipeline/Encode.h"
#include "engine/pipeline/JpegPlaneSteps.h"
#include "engine/pipeline/PipelineGuard.h"
#include "engine/pipeline/Thumbnail.h"
#include "engine/source/DecodeBudget.h"
#include "engine/source/JpegEndMarker.h"

namespace voveriz {

using vips::VError;
using vips::VImage;

namespace {

GuardedImage scaled(const ThumbnailSource& source, const SourceHeader& header, const ResizePlan& plan,
                    JpegDecode decode)
{
    return GuardedImage([&] { return buildThumbnail(source, header.stored, plan.request, decode); });
}

std::string encodeScaled(const ThumbnailSource& source, const SourceHeader& header, const ResizePlan& plan,
                         const MetadataOptions& metadata, JpegDecode decode)
{
    const GuardedImage image = scaled(source, header, plan, decode);
    const auto readWhole = [&] {
        if (!planesReadWhole(*image)) throw VError("the JPEG's planes were not read to their end");
    };
    if (!plan.turn) {
        std::string bytes = encodeImage(*image, plan.output, metadata);
        readWhole();
        return bytes;
    }
    // libvips turns a photo from memory; the decoding and scaling happen here, unlocked.
    const VImage stored = image->copy_memory();
    readWhole();
    const GuardedImage upright([&] { return stored.autorot(); });
    return encodeImage(*upright, plan.output, metadata);
}

std::string scaleAndEncode(const ThumbnailSource& source, const SourceHeader& header, const ResizePlan& plan,
                           const MetadataOptions& metadata)
{
    if (mayTakeJpegPlanes(source, header.stored, plan.request)) {
        try {
            return encodeScaled(source, header, plan, metadata, JpegDecode::Planes);
        } catch (const VError&) {
            // Damage, or a warning, met in the planes: read as pixels, whose rules say what it is.
            vips_error_clear();
        }
    }
    return encodeScaled(source, header, plan, metadata, JpegDecode::Pixels);
}

// Decoding and encoding run as one pipeline; a failure of the two is told apart by decoding alone.
// A file written to while it was read failed in its reading, whatever the step that met it.
Rendering::Failure failedStep(const OpenSource& file, const ThumbnailSource& source, const SourceHeader& header,
                              const ResizePlan& plan)
{
    if (file.changedSinceOpened()) return Rendering::Failure::Decode;
    try {
        scaled(source, header, plan, JpegDecode::Pixels)->avg();
    } catch (const VError&) {
        vips_error_clear();
        return Rendering::Failure::Decode;
    }
    return Rendering::Failure::Encode;
}

}  // namespace

Rendering renderPlan(const OpenSource& file, const ThumbnailSource& source, const SourceHeader& header,
                     const ResizePlan& plan, const MetadataOptions& metadata)
{
    const auto heldDecodeTurn = takeHeldDecodeTurn(plan.heldWhole, header.width, header.height);
    ThumbnailSource read = source;
    Rendering rendering;
    try {
        try {
            rendering.bytes = scaleAndEncode(read, header, plan, metadata);
        } catch (const VError&) {
            if (!header.jpeg() || !lacksJpegEndMarker(file.fd())) throw;
            vips_error_clear();
            read.endMarkerPutBack = true;
            rendering.bytes = scaleAndEncode(read, header, plan, metadata);
        }
    } catch (const VError&) {
        vips_error_clear();
        rendering.failure = failedStep(file, read, header, plan);
        return rendering;
    }
    if (rendering.bytes.empty()) rendering.failure = Rendering::Failure::Encode;
    return rendering;
}

}  // namespace voveriz
