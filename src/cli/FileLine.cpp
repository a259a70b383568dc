#include "cli/FileLine.h"

#include "engine/ResizeImage.h"
#include "engine/ResultLine.h"
#include "engine/TargetSize.h"

namespace voveriz::cli {

FileLine processFile(const CliOptions& options, const std::string& path)
{
    if (!options.outputDir) return { std::string(kNoOutputFolderLine), false };
    auto target = parseTargetSize(options.targetText);
    if (!target) return { std::string(kInvalidTargetLine), false };

    ResizeResult result = resizeImage(path, *target, options.dimension, *options.outputDir);
    bool succeeded = result.status() == "ok" || result.status() == "skip";
    return { resultLine(result), succeeded };
}

}  // namespace voveriz::cli
