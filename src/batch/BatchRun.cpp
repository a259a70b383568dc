#include "batch/BatchRun.h"

#include "batch/TargetSize.h"
#include "engine/ResizeImage.h"

namespace voveriz {

BatchOutcome processDroppedFile(const std::filesystem::path& file, const BatchSettingsSnapshot& settings)
{
    if (!settings.outputPath) {
        return {std::nullopt, std::string(kNoOutputFolderLine)};
    }
    const std::optional<SizeRule> rule = parseSizeRule(settings.sizeMode, settings.targetText);
    if (!rule) {
        return {std::nullopt, std::string(kInvalidTargetLine)};
    }
    return {resizeImage(file, *rule, *settings.outputPath, settings.metadata), {}};
}

}  // namespace voveriz
