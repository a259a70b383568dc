#pragma once

#include "batch/BatchOutcome.h"

#include <string>

namespace voveriz::cli {

// The line one PATH gives, as the window would log it, and whether it counts as a success
// (a "✓" or "-" result line; a settings line or a "✗" line does not).
struct FileLine {
    std::string text;
    bool succeeded = false;
};

FileLine fileLine(const BatchOutcome& outcome);

}  // namespace voveriz::cli
