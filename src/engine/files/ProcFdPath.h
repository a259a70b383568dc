#pragma once

#include <optional>
#include <string>

namespace voveriz {

// The name of the file open at fd under /proc/self/fd ("/proc/self/fd/7"), by which that very
// file is opened again or linked into a folder, whatever its own name has become meanwhile. None
// where /proc is not mounted.
std::optional<std::string> procFdPath(int fd);

}  // namespace voveriz
