#include "batch/BatchOutcome.h"

#include "engine/ResultLine.h"

namespace voveriz {

std::string BatchOutcome::line() const
{
    return result ? resultLine(*result) : settingsLine;
}

}  // namespace voveriz
