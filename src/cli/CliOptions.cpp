#include "cli/CliOptions.h"

#include <charconv>

namespace voveriz::cli {

namespace {

constexpr std::string_view kUsage
    = "Usage: voveriz-cli (--width N | --height N) --out DIR [--jobs J] PATH...\n"
      "Resizes each PATH into DIR so that its width (or height) is N pixels; an image already\n"
      "that small or smaller is copied unchanged. Nothing is ever overwritten.\n"
      "\n"
      "  --width N    the width of the resized images, in pixels\n"
      "  --height N   the height of the resized images, in pixels (give one of the two)\n"
      "  --out DIR    the folder the resized images are written to\n"
      "  --jobs J     how many files are worked on at once (default: one per core;\n"
      "               1 works strictly one file at a time)\n"
      "  --help       show this text\n"
      "  --           end of options: every argument after it is a PATH\n"
      "\n"
      "Prints one result line per PATH, in the order given, as the window logs it.\n"
      "Exit status: 0 when every file was resized, copied or skipped; 1 when any\n"
      "failed or the size or folder was unusable; 2 for a usage error.\n";

ParsedArguments usageError(std::string message)
{
    ParsedArguments parsed;
    parsed.kind = ParsedArguments::Kind::UsageError;
    parsed.error = std::move(message);
    return parsed;
}

std::optional<unsigned> parseJobs(std::string_view text)
{
    unsigned value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0) return std::nullopt;
    return value;
}

}  // namespace

std::string_view usageText()
{
    return kUsage;
}

ParsedArguments parseArguments(std::span<const std::string_view> arguments)
{
    ParsedArguments parsed;
    CliOptions& options = parsed.options;
    bool sizeGiven = false;
    bool jobsGiven = false;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            options.paths.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            parsed.kind = ParsedArguments::Kind::Help;
            return parsed;
        }

        // "--name value" or "--name=value".
        std::string_view name = argument;
        std::optional<std::string_view> value;
        if (auto equals = argument.find('='); equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        if (name != "--width" && name != "--height" && name != "--out" && name != "--jobs") {
            return usageError("unknown option '" + std::string(name) + "'");
        }
        if (!value) {
            if (i + 1 == arguments.size()) return usageError(std::string(name) + " needs a value");
            value = arguments[++i];
        }

        if (name == "--width" || name == "--height") {
            if (sizeGiven) return usageError("give only one of --width and --height, once");
            sizeGiven = true;
            options.dimension = name.substr(2);
            options.targetText = *value;
        } else if (name == "--out") {
            if (options.outputDir) return usageError("--out given more than once");
            if (value->empty()) return usageError("--out needs a folder");
            options.outputDir = std::filesystem::path(*value);
        } else {
            if (jobsGiven) return usageError("--jobs given more than once");
            auto jobs = parseJobs(*value);
            if (!jobs) return usageError("--jobs needs a positive whole number, not '" + std::string(*value) + "'");
            jobsGiven = true;
            options.jobs = *jobs;
        }
    }

    if (!sizeGiven) return usageError("give one of --width and --height");
    if (options.paths.empty()) return usageError("no PATH given");
    parsed.kind = ParsedArguments::Kind::Run;
    return parsed;
}

}  // namespace voveriz::cli
