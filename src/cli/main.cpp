#include "batch/BatchSettings.h"
#include "batch/BatchWorkers.h"
#include "cli/CliOptions.h"
#include "cli/FileLine.h"
#include "cli/TreeRun.h"
#include "cli/TreeWalk.h"
#include "cli/WritableFormats.h"
#include "engine/EngineRuntime.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <string_view>
#include <vector>

using namespace voveriz::cli;

namespace {

constexpr int kAllSucceeded = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageError = 2;

void writeLine(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int run(const CliOptions& options, const char* argv0)
{
    voveriz::EngineRuntime runtime(argv0);
    if (options.output.format && !voveriz::cli::canWrite(*options.output.format)) {
        std::fprintf(stderr, "voveriz-cli: this libvips cannot write %s; --format takes %s\n",
            std::string(voveriz::nameOf(*options.output.format)).c_str(), writableFormatNames().c_str());
        return kUsageError;
    }
    auto settings = std::make_shared<voveriz::BatchSettings>();
    if (options.outputDir) settings->setOutputPath(*options.outputDir);
    settings->setSizeMode(options.sizeMode);
    settings->setTargetText(options.targetText);
    settings->setMetadata(options.metadata);

    // One drop of every file, walked folders' files in walk order; its lines come back in that
    // order, one at a time.
    Walk walk = walkPaths(options.paths, options.recursive, options.outputDir);
    TreeOutput output(std::move(walk.folders));
    std::vector<std::filesystem::path> files;
    for (const WalkedFile& file : walk.files)
        files.push_back(file.source);
    bool allSucceeded = true;
    voveriz::BatchWorkers workers(options.jobs != 0 ? options.jobs : voveriz::BatchWorkers::coreCount());
    workers.submit(
        std::move(files), settings,
        [&](voveriz::BatchOutcome outcome) {
            const FileLine line = fileLine(outcome);
            writeLine(line.text);
            allSucceeded = allSucceeded && line.succeeded;
        },
        [&](std::size_t index, const voveriz::BatchSettingsSnapshot& snapshot) {
            return processWalkedFile(walk.files[index], snapshot, output, options.output);
        });
    workers.waitUntilIdle();
    output.removeEmptyMade();
    return allSucceeded ? kAllSucceeded : kSomeFailed;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    ParsedArguments parsed = parseArguments(arguments);
    switch (parsed.kind) {
    case ParsedArguments::Kind::Help:
        std::fputs(usageText().data(), stdout);
        return kAllSucceeded;
    case ParsedArguments::Kind::UsageError:
        std::fprintf(stderr, "voveriz-cli: %s\n%s", parsed.error.c_str(), usageText().data());
        return kUsageError;
    case ParsedArguments::Kind::Run:
        break;
    }
    if (parsed.options.recursive && !anyFolder(parsed.options.paths)) {
        std::fprintf(stderr, "voveriz-cli: --recursive needs a folder among the PATHs\n%s", usageText().data());
        return kUsageError;
    }
    if (parsed.options.recursive && parsed.options.outputDir
        && walksOutputFolder(parsed.options.paths, *parsed.options.outputDir)) {
        std::fprintf(stderr, "voveriz-cli: --out is a folder among the PATHs; give one outside it or below it\n%s",
                     usageText().data());
        return kUsageError;
    }
    try {
        return run(parsed.options, argv[0]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "voveriz-cli: %s\n", error.what());
        return kSomeFailed;
    }
}
