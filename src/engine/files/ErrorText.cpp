#include "engine/files/ErrorText.h"

#include <cstring>

namespace voveriz {

namespace {

// Works with both the GNU strerror_r (returns the text) and the XSI one (fills the buffer).
[[maybe_unused]] const char* pickText(const char* text, const char*) { return text; }
[[maybe_unused]] const char* pickText(int, const char* buffer) { return buffer; }

}  // namespace

std::string errorText(int error)
{
    char buffer[256] = {};
    return pickText(::strerror_r(error, buffer, sizeof buffer), buffer);
}

}  // namespace voveriz
