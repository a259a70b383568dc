#include "engine/files/ProcFdPath.h"

#include <unistd.h>

namespace voveriz {

std::optional<std::string> procFdPath(int fd)
{
    static const bool usable = ::access("/proc/self/fd", X_OK) == 0;
    if (!usable || fd < 0) return std::nullopt;
    return "/proc/self/fd/" + std::to_string(fd);
}

}  // namespace voveriz
