#pragma once

#include <string>

namespace voveriz {

// The text of an errno value, e.g. "No such file or directory". Thread safe.
std::string errorText(int error);

}  // namespace voveriz
