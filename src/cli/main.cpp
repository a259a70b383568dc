#include "cli/CliOptions.h"
#include "cli/FileLine.h"
#include "cli/OrderedRunner.h"
#include "engine/EngineRuntime.h"

#include <algorithm>
#include <cstdio>
#include <exception>
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
    std::vector<FileLine> lines(options.paths.size());
    runInOrder(
        lines.size(), options.jobs, [&](std::size_t i) { lines[i] = processFile(options, options.paths[i]); },
        [&](std::size_t i) { writeLine(lines[i].text); });
    bool allSucceeded = std::all_of(lines.begin(), lines.end(), [](const FileLine& line) { return line.succeeded; });
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
