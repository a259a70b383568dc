#include "engine/ResultLine.h"

namespace voveriz {

std::string_view resultMark(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Resized: return "\u2713  ";
    case Outcome::Copied:
    case Outcome::NotAnImage: return "-  ";
    case Outcome::Failed: break;
    }
    return "\u2717  ";
}

std::string resultLine(const ResizeResult& result)
{
    std::string line(resultMark(result.outcome()));
    line += result.message();
    return line;
}

}  // namespace voveriz
