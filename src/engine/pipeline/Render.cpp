#include "engine/pipeline/Render.h"

#include "engine/pipeline/Encode.h"
#include "engine/pipeline/JpegPlaneSteps.h"
#include "engine/pipeline/PipelineGuard.h"
#include "engine/pipeline/QualitySearch.h"
#include "engine/pipeline/Thumbnail.h"
#include "engine/source/DecodeBudget.h"
#include "engine/source/JpegEndMarker.h"

#include <utility>

namespace voveriz {

using vips::VError;
using vips::VImage;

namespace {

GuardedImage scaled(const ThumbnailSource& source, const SourceHeader& header, const ResizePlan& plan,
                    JpegDecode decode)
{
    return GuardedImage([&] { return buildThumbnail(source, header.stored, plan.request, decode); });
}

// The planned output of image, once, or under the plan's byte budget.
Rendering encodePlanned(const VImage& image, const ResizePlan& plan, const MetadataOptions& metadata)
{
    Rendering rendering;
    if (plan.maxBytes == 0 || !isLossy(plan.output.format)) {
        rendering.bytes = encodeImage(image, plan.output, metadata);
        if (plan.maxBytes != 0 && rendering.bytes.size() > plan.maxBytes) {
            rendering.failure = Rendering::Failure::OverBudget;
            rendering.neededBytes = rendering.bytes.size();
            rendering.bytes.clear();
        }
        return rendering;
    }
    // Decoded and scaled once; only the encodes are repeated.
    const VImage held = image.copy_memory();
    OutputFormat output = plan.output;
    const int highest = output.quality != 0 ? output.quality : defaultQuality(output.format);
    BudgetFit fit = highestQualityWithin(plan.maxBytes, highest, [&](int quality) {
        output.quality = quality;
        return encodeImage(held, output, metadata);
    });
    rendering.budgetQuality = fit.quality;
    if (fit.bytes.empty()) {
        rendering.failure = Rendering::Failure::OverBudget;
        rendering.neededBytes = fit.neededBytes;
    }
    rendering.bytes = std::move(fit.bytes);
    return rendering;
}

Rendering encodeScaled(const ThumbnailSource& source, const SourceHeader& header, const ResizePlan& plan,
                       const MetadataOptions& metadata, JpegDecode decode)
{
    const GuardedImage image = scaled(source, header, plan, decode);
    const auto readWhole = [&] {
        if (!planesReadWhole(*image)) throw VError("the JPEG's planes were not read to their end");
    };
    if (!plan.turn) {
        Rendering rendering = encodePlanned(*image, plan, metadata);
        readWhole();
        return rendering;
    }
    // libvips turns a photo from memory; the decoding and scaling happen here, unlocked.
    const VImage stored = image->copy_memory();
    readWhole();
    const GuardedImage upright([&] { return stored.autorot(); });
    return encodePlanned(*upright, plan, metadata);
}

// A JPEG's planes are scaled as stored and each is rounded to 8 bits before they are turned into
// RGB. A JPEG or WebP encoder turns them back into YCbCr, and that rounding is lost in its own: WebP
// at quality 95 is 0.03 dB below the pixels (4 photos of 4000x3000, 4:2:0, to width 1080: 40.86 dB
// against 40.89, PSNR against the photos scaled in float). Every other output keeps it, PNG at 53.47
// dB against 55.77 from the pixels, so those read the pixels: 1.17x the time for PNG (0.50 s against
// 0.43 s), and the same for AVIF, whose encoder takes nearly all of it (the bench's 20 phone
// photos: 33.0 s, against 0.91 s as JPEG).
bool outputTakesPlanes(ImageFormat format)
{
    return format == ImageFormat::Jpeg || format == ImageFormat::Webp;
}

Rendering scaleAndEncode(const ThumbnailSource& source, const SourceHeader& header, const ResizePlan& plan,
                           const MetadataOptions& metadata)
{
    if (outputTakesPlanes(plan.output.format) && mayTakeJpegPlanes(source, header.stored, plan.request)) {
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
            rendering = scaleAndEncode(read, header, plan, metadata);
        } catch (const VError&) {
            if (!header.jpeg() || !lacksJpegEndMarker(file.fd())) throw;
            vips_error_clear();
            read.endMarkerPutBack = true;
            rendering = scaleAndEncode(read, header, plan, metadata);
        }
    } catch (const VError&) {
        vips_error_clear();
        rendering.failure = failedStep(file, read, header, plan);
        return rendering;
    }
    if (rendering.failure == Rendering::Failure::None && rendering.bytes.empty()) {
        rendering.failure = Rendering::Failure::Encode;
    }
    return rendering;
}

}  // namespace voveriz
