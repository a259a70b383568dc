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
    setSizeMode(dimension == Dimension::Width ? SizeMode::Width : SizeMode::Height);
}

void BatchSettings::setSizeMode(SizeMode mode)
{
    std::lock_guard lock(m_mutex);
    m_current.sizeMode = mode;
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
