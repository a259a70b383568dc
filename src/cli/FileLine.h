#pragma once

#include "cli/CliOptions.h"

#include <string>

namespace voveriz::cli {

// The line one PATH gives, as the window would log it, and whether it counts as a success
// (a "✓" or "-" result line; a settings line or a "✗" line does not).
struct FileLine {
    std::string text;
    bool succeeded = false;
};

// Checks the settings for one file in the window's order (output folder, then size) and runs the
// engine on it when both are usable.
FileLine processFile(const CliOptions& options, const std::string& path);

}  // namespace voveriz::cli
