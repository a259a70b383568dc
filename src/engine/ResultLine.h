#pragma once

#include "engine/ResizeResult.h"

#include <string>
#include <string_view>

namespace voveriz {

// The mark before a result's message: "✓  " for a resized file, "-  " for one copied or passed
// over, "✗  " for a failure.
std::string_view resultMark(Outcome outcome);

// The log line for a result: its mark followed by its message, unchanged.
std::string resultLine(const ResizeResult& result);

}  // namespace voveriz
