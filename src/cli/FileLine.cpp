#include "cli/FileLine.h"

namespace voveriz::cli {

FileLine fileLine(const BatchOutcome& outcome)
{
    const bool succeeded = outcome.result && outcome.result->outcome() != Outcome::Failed;
    return {outcome.line(), succeeded};
}

}  // namespace voveriz::cli
