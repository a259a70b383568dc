#include "engine/plan/ResizePlan.h"

#include "engine/files/FileName.h"
#include "engine/plan/ScaledSize.h"
#include "engine/source/DecodeBudget.h"

namespace voveriz {

namespace {

OutputFormat chosenOutput(const std::string& sourceExtension, const OutputChoice& choice)
{
    OutputFormat output = choice.format ? OutputFormat { *choice.format, std::string(extensionOf(*choice.format)) }
                                        : outputFormatFor(sourceExtension);
    if (isLossy(output.format)) output.quality = choice.quality;
    return output;
}

} // namespace

ResizePlan planResize(const SourceHeader& header, const std::string& name, std::int64_t target, Dimension dimension,
    const OutputChoice& choice, std::optional<ImageFormat> storedFormat, std::uint64_t storedBytes)
{
    ResizePlan plan;
    const NameParts parts = splitFileName(name);
    const OutputFormat output = chosenOutput(parts.extension, choice);
    const bool wide = dimension == Dimension::Width;
    if (target >= (wide ? header.width : header.height)) {
        // Stored in the output format, and named with one of its extensions.
        const bool alreadyInOutputFormat
            = storedFormat == output.format && formatOfExtension(parts.extension) == output.format;
        const bool withinBudget = choice.maxBytes == 0 || storedBytes <= choice.maxBytes;
        if ((!choice.format || alreadyInOutputFormat) && withinBudget) {
            plan.action = ResizePlan::Action::Copy;
            return plan;
        }
        plan.converted = !alreadyInOutputFormat;
        plan.width = header.width;
        plan.height = header.height;
    } else {
        plan.width = wide ? target : scaledOtherSide(target, header.height, header.width);
        plan.height = wide ? scaledOtherSide(target, header.width, header.height) : target;
        if (plan.width < 1 || plan.height < 1) return plan;
    }

    plan.output = output;
    plan.maxBytes = choice.maxBytes;
    plan.outputName = parts.base + "." + plan.output.extension;
    const int pages = header.stored.pages;
    const bool allFrames = plan.output.format == ImageFormat::Gif && pages > 1;
    if (!fitsDecodeBudget(
            header.width, header.height, allFrames ? pages : 1, header.gif() ? kMaxGifFramePixels : kMaxFramePixels)) {
        return plan;
    }
    const bool swap = header.sidesSwap();
    plan.request.width = static_cast<int>(swap ? plan.height : plan.width);
    plan.request.height = static_cast<int>(swap ? plan.width : plan.height);
    plan.request.allFrames = allFrames;
    plan.request.exportSrgb = header.hasProfile && !carriesColorProfile(plan.output.format);
    plan.turn = header.turned();
    plan.heldWhole = header.stored.interlaced || header.gif();
    plan.action = ResizePlan::Action::Scale;
    return plan;
}

}  // namespace voveriz
