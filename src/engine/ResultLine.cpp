#include "engine/ResultLine.h"

namespace voveriz {

std::string_view resultMark(std::string_view status)
{
    if (status == "ok") return "\u2713  ";
    if (status == "skip") return "-  ";
    return "\u2717  ";
}

std::string resultLine(const ResizeResult& result)
{
    std::string line(resultMark(result.status()));
    line += result.message();
    return line;
}

}  // namespace voveriz
