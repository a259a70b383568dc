#pragma once

#include "engine/ResizeResult.h"

#include <string>
#include <string_view>

namespace voveriz {

// The lines the batch shows besides the engine's own results.
inline constexpr std::string_view kNoOutputFolderLine = "Please choose a Resized Folder first.";
inline constexpr std::string_view kInvalidTargetLine = "Enter a valid pixel number first.";

// The mark before a result's message: "✓  " for "ok", "-  " for "skip", "✗  " for anything else.
std::string_view resultMark(std::string_view status);

// The log line for a result: its mark followed by its message, unchanged.
std::string resultLine(const ResizeResult& result);

}  // namespace voveriz
