#pragma once

#include "engine/ResizeResult.h"

#include <optional>
#include <string>

namespace voveriz {

// What one dropped file came to: the engine's result, or a settings line when the file was
// skipped before the engine ran ("Please choose a Resized Folder first." and the like).
struct BatchOutcome {
    std::optional<ResizeResult> result;
    std::string settingsLine;

    // The log line: the result's mark and message, or the settings line as it is.
    std::string line() const;
};

}  // namespace voveriz
