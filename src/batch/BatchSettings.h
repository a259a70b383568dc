#pragma once

#include "engine/plan/Dimension.h"
#include "engine/plan/SizeRule.h"
#include "engine/metadata/MetadataOptions.h"

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

namespace voveriz {

// What the batch worker reads for each file, copied out in one piece.
struct BatchSettingsSnapshot {
    std::optional<std::filesystem::path> outputPath;
    SizeMode sizeMode = SizeMode::Width;  // the window's toggles choose width or height
    std::string targetText = "1080";      // "WxH" for SizeMode::Fit
    MetadataOptions metadata;  // what resized files keep of their sources' metadata
};

// The batch settings shared between the interface thread, which keeps them current (the target
// text on every edit), and the workers, which take a snapshot when they reach each file.
class BatchSettings {
public:
    BatchSettingsSnapshot snapshot() const;

    void setOutputPath(std::filesystem::path folder);
    void setDimension(Dimension dimension);
    void setSizeMode(SizeMode mode);
    void setTargetText(std::string text);
    void setMetadata(MetadataOptions metadata);

private:
    mutable std::mutex m_mutex;
    BatchSettingsSnapshot m_current;
};

}  // namespace voveriz
