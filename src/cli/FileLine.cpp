#include "cli/FileLine.h"

#include "batch/BatchRun.h"

namespace voveriz::cli {

FileLine processFile(const CliOptions& options, const std::string& path)
{
    BatchSettingsSnapshot settings;
    settings.outputPath = options.outputDir;
    settings.dimension = options.dimension;
    settings.targetText = options.targetText;
    const BatchOutcome outcome = processDroppedFile(path, settings);
    const bool succeeded = outcome.result && (outcome.result->status() == "ok" || outcome.result->status() == "skip");
    return {outcome.line(), succeeded};
}

}  // namespace voveriz::cli
