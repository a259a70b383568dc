#pragma once

#include "engine/ResizeResult.h"

#include <optional>
#include <string>
#include <string_view>

namespace voveriz {

// The lines the batch shows besides the engine's own results.
inline constexpr std::string_view kNoOutputFolderLine = "Please choose a Resized Folder first.";
inline constexpr std::string_view kInvalidTargetLine = "Enter a valid pixel number first.";

// What one dropped file came to: the engine's result, or a settings line when the file was
// skipped before the engine ran ("Please choose a Resized Folder first." and the like).
struct BatchOutcome {
    std::optional<ResizeResult> result;
    std::string settingsLine;

    // The log line: the result's mark and message, or the settings line as it is.
    std::string line() const;
};

}  // namespace voveriz
