#include "batch/BatchSettings.h"

#include <utility>

namespace voveriz {

BatchSettingsSnapshot BatchSettings::snapshot() const
{
    std::lock_guard lock(mutex_);
    return current_;
}

void BatchSettings::setOutputPath(std::filesystem::path folder)
{
    std::lock_guard lock(mutex_);
    current_.outputPath = std::move(folder);
}

void BatchSettings::setDimension(std::string dimension)
{
    std::lock_guard lock(mutex_);
    current_.dimension = std::move(dimension);
}

void BatchSettings::setTargetText(std::string text)
{
    std::lock_guard lock(mutex_);
    current_.targetText = std::move(text);
}

void BatchSettings::setMetadata(MetadataOptions metadata)
{
    std::lock_guard lock(mutex_);
    current_.metadata = metadata;
}

}  // namespace voveriz
