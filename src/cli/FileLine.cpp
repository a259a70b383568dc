#include "cli/FileLine.h"

namespace voveriz::cli {

FileLine fileLine(const BatchOutcome& outcome)
{
    const bool succeeded = outcome.result && (outcome.result->status() == "ok" || outcome.result->status() == "skip");
    return {outcome.line(), succeeded};
}

}  // namespace voveriz::cli
