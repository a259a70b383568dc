#include "batch/BatchSettings.h"

#include <utility>

namespace voveriz {

BatchSettingsSnapshot BatchSettings::snapshot() const
{
    std::lock_guard lock(m_mutex);
    return m_current;
}

void BatchSettings::setOutputPath(std::filesystem::path folder)
{
    std::lock_guard lock(m_mutex);
    m_current.outputPath = std::move(folder);
}

void BatchSettings::setDimension(Dimension dimension)
{
    std::lock_guard lock(m_mutex);
    m_current.dimension = dimension;
}

void BatchSettings::setTargetText(std::string text)
{
    std::lock_guard lock(m_mutex);
    m_current.targetText = std::move(text);
}

void BatchSettings::setMetadata(MetadataOptions metadata)
{
    std::lock_guard lock(m_mutex);
    m_current.metadata = metadata;
}

}  // namespace voveriz
