#include "batch/BatchSettings.h"
#include "batch/BatchWorkers.h"
#include "cli/CliOptions.h"
#include "cli/FileLine.h"
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
    auto settings = std::make_shared<voveriz::BatchSettings>();
    if (options.outputDir) settings->setOutputPath(*options.outputDir);
    settings->setDimension(options.dimension);
    settings->setTargetText(options.targetText);

    // One drop of every PATH; its lines come back in argument order, one at a time.
    bool allSucceeded = true;
    voveriz::BatchWorkers workers(options.jobs != 0 ? options.jobs : voveriz::BatchWorkers::coreCount());
    workers.submit({options.paths.begin(), options.paths.end()}, settings, [&](voveriz::BatchOutcome outcome) {
        const FileLine line = fileLine(outcome);
        writeLine(line.text);
        allSucceeded = allSucceeded && line.succeeded;
    });
    workers.waitUntilIdle();
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
    try {
        return run(parsed.options, argv[0]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "voveriz-cli: %s\n", error.what());
        return kSomeFailed;
    }
}
