#include "engine/ResizeImage.h"

#include "engine/files/ExclusiveFile.h"
#include "engine/files/FileName.h"
#include "engine/pipeline/PipelineGuard.h"
#include "engine/pipeline/Render.h"
#include "engine/plan/ByteSize.h"
#include "engine/plan/ResizePlan.h"
#include "engine/plan/StoredFormat.h"
#include "engine/source/OpenSource.h"
#include "engine/source/ReadableSource.h"
#include "engine/source/SourceHeader.h"

#include <vips/vips8>

#include <exception>
#include <optional>

namespace voveriz {

namespace fs = std::filesystem;

namespace {

ResizeResult failed(const std::string& name, std::string_view reason)
{
    return ResizeResult::failed(name, std::string(reason));
}

ResizeResult notAnImage(const std::string& name)
{
    return ResizeResult::notAnImage(name);
}

struct OpenedHeader {
    SourceHeader header;
    std::optional<ImageFormat> format; // the format it is stored in, where the engine writes it
};

// The header of the first page or frame, as the user sees it. None when libvips cannot read the
// source as an image, or reads a size of nothing.
std::optional<OpenedHeader> readHeader(const ThumbnailSource& source)
{
    try {
        const GuardedImage image([&] { return openImage(source); });
        const SourceHeader header = sourceHeaderOf(*image);
        if (header.width < 1 || header.height < 1) return std::nullopt;
        return OpenedHeader { header, storedFormatOf(*image) };
    } catch (const vips::VError&) {
        vips_error_clear(); // the messages are not shown; keep libvips's error buffer from filling
        return std::nullopt;
    }
}

ResizeResult copyUnchanged(const OpenSource& file, const std::string& name, const SourceHeader& header,
    Dimension dimension, const fs::path& outputDir)
{
    const PlacedFile copy = copyToNewFile(outputDir, name, file.path());
    if (!copy.ok) return failed(name, copy.error);
    return ResizeResult::copied(name, { header.width, header.height }, dimension, copy.location.filename().string());
}

ResizeResult writeScaled(const OpenSource& file, const std::string& name, const SourceHeader& header,
    const ResizePlan& plan, const Rendering& rendering, const fs::path& outputDir, const MetadataOptions& metadata)
{
    const PlacedFile written = writeNewFile(outputDir, plan.outputName, file.mode(), rendering.bytes,
        metadata.keepModificationTime ? &file.modified() : nullptr);
    if (!written.ok) return failed(name, written.error);
    if (plan.converted) {
        return ResizeResult::converted(name, { header.width, header.height }, written.location.filename().string(),
            std::string(titleOf(plan.output.format)), rendering.budgetQuality);
    }
    return ResizeResult::resized(name, { header.width, header.height }, written.location.filename().string(),
        { plan.width, plan.height }, rendering.budgetQuality);
}

// "does not fit in 150 kB: 163 kB at quality 30", "does not fit in 150 kB: 812 kB as PNG".
std::string overBudgetReason(const ResizePlan& plan, const Rendering& rendering)
{
    std::string budget = byteSizeText(plan.maxBytes);
    std::string needed = byteSizeText(rendering.neededBytes);
    if (needed == budget) {
        budget = std::to_string(plan.maxBytes) + " bytes";
        needed = std::to_string(rendering.neededBytes) + " bytes";
    }
    return "does not fit in " + budget + ": " + needed
        + (rendering.budgetQuality != 0 ? " at quality " + std::to_string(rendering.budgetQuality)
                                        : " as " + std::string(titleOf(plan.output.format)));
}

ResizeResult resize(const fs::path& src, const std::string& name, const SizeRule& rule, const fs::path& outputDir,
    const MetadataOptions& metadata, const OutputChoice& choice)
{
    const OpenSource file(src);
    if (!file.isOpen()) return notAnImage(name);
    SourceSnapshot snapshot;
    const std::optional<ThumbnailSource> source = readableSource(file, snapshot);
    if (!source) return notAnImage(name);
    if (source->empty()) return failed(name, kNotCreatedReason);
    const std::optional<OpenedHeader> opened = readHeader(*source);
    if (!opened) return notAnImage(name);
    const SourceHeader* header = &opened->header;

    const SideTarget side = sideTargetFor(rule, header->width, header->height);
    const ResizePlan plan
        = planResize(*header, name, side.target, side.dimension, choice, opened->format, file.storedBytes());
    switch (plan.action) {
    case ResizePlan::Action::Copy:
        return copyUnchanged(file, name, *header, side.dimension, outputDir);
    case ResizePlan::Action::Refuse:
        return failed(name, kNotCreatedReason);
    case ResizePlan::Action::Scale:
        break;
    }
    const Rendering rendering = renderPlan(file, *source, *header, plan, metadata);
    switch (rendering.failure) {
    case Rendering::Failure::Decode:
        return failed(name, kNotCreatedReason);
    case Rendering::Failure::Encode:
        return failed(name, kNotEncodedReason);
    case Rendering::Failure::OverBudget:
        return failed(name, overBudgetReason(plan, rendering));
    case Rendering::Failure::None:
        break;
    }
    return writeScaled(file, name, *header, plan, rendering, outputDir, metadata);
}

} // namespace

ResizeResult resizeImage(const fs::path& src, std::int64_t target, Dimension dimension, const fs::path& outputDir,
    const MetadataOptions& metadata)
{
    const SizeMode mode = dimension == Dimension::Width ? SizeMode::Width : SizeMode::Height;
    return resizeImage(src, SizeRule { mode, target }, outputDir, metadata);
}

ResizeResult resizeImage(
    const fs::path& src, const SizeRule& rule, const fs::path& outputDir, const MetadataOptions& metadata)
{
    return resizeImage(src, rule, outputDir, metadata, OutputChoice {});
}

ResizeResult resizeImage(const fs::path& src, const SizeRule& rule, const fs::path& outputDir,
    const MetadataOptions& metadata, const OutputChoice& choice)
{
    std::string name;
    try {
        name = lastComponent(src);
        return resize(src, name, rule, outputDir, metadata, choice);
    } catch (const vips::VError&) {
        vips_error_clear();
        return failed(name, kNotCreatedReason);
    } catch (const std::exception& e) {
        return failed(name, e.what());
    } catch (...) {
        return failed(name, kNotCreatedReason);
    }
}

} // namespace voveriz
