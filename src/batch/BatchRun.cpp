#include "batch/BatchRun.h"

#include "engine/ResizeImage.h"
#include "engine/ResultLine.h"
#include "engine/TargetSize.h"

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
    return {resizeImage(file, *target, settings.dimension, *settings.outputPath), {}};
}

void runBatch(const std::vector<std::filesystem::path>& files, const std::weak_ptr<const BatchSettings>& settings,
              const std::function<void(BatchOutcome)>& deliver)
{
    for (const std::filesystem::path& file : files) {
        BatchSettingsSnapshot current;
        if (auto owner = settings.lock()) {
            current = owner->snapshot();
        } else {
            continue;
        }
        deliver(processDroppedFile(file, current));
    }
}

}  // namespace voveriz
