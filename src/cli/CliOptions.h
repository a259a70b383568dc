#pragma once

#include "engine/metadata/MetadataOptions.h"
#include "engine/plan/OutputChoice.h"
#include "engine/plan/SizeRule.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace voveriz::cli {

// What one run of voveriz-cli was asked to do. The size text is kept as typed: each file checks it
// with the window's target-size rule, so "abc" or "0" give a line per file, not a usage error.
struct CliOptions {
    SizeMode sizeMode = SizeMode::Width;  // by --width, --height, --long-edge, --short-edge or --fit
    std::string targetText;               // "WxH" for --fit
    std::optional<std::filesystem::path> outputDir;  // absent without --out: each file says so
    unsigned jobs = 0;  // files in work at once; 0 for one per core
    bool recursive = false;    // a folder among the paths is walked
    MetadataOptions metadata;  // --strip, --strip-location, --keep-dates
    OutputChoice output; // --format, --quality, --max-bytes (whether libvips writes the format is checked later)
    std::vector<std::string> paths;
};

struct ParsedArguments {
    enum class Kind { Run, Help, UsageError };
    Kind kind = Kind::UsageError;
    CliOptions options;  // filled for Run
    std::string error;   // one line for UsageError, without the program name
};

// Reads the arguments after the program name. Option values are taken verbatim from the next
// argument (or after "="), so "--width -5" is a size text; "--" ends the options.
ParsedArguments parseArguments(std::span<const std::string_view> arguments);

// The usage text, ending in a line break.
std::string_view usageText();

}  // namespace voveriz::cli
