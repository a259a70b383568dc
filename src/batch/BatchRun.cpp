#include "batch/BatchRun.h"

#include "batch/TargetSize.h"
#include "engine/ResizeImage.h"

namespace voveriz {

BatchOutcome processDroppedFile(const std::filesystem::path& file, const BatchSettingsSnapshot& settings)
{
    if (!settings.outputPath) {
        return {std::nullopt, std::string(kNoOutputFolderLine)};
    }
    std::optional<std::int64_t> target = parseTargetSize(settings.targetText);
    if (!target) {
        return {std::nullopt, std::string(kInvalidTargetLine)};
    }
    return {resizeImage(file, *target, settings.dimension, *settings.outputPath, settings.metadata), {}};
}

}  // namespace voveriz
