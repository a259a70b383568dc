#include "engine/files/UniqueDestination.h"

#include <system_error>

namespace voveriz {

namespace fs = std::filesystem;

std::string numberedName(const NameParts& parts, unsigned long long n)
{
    std::string name = parts.base + " (" + std::to_string(n) + ")";
    if (!parts.extension.empty()) {
        name += "." + parts.extension;
    }
    return name;
}

namespace {

// An entry of any kind takes the name; a link counts by itself, not by what it points to.
bool taken(const fs::path& location)
{
    std::error_code error;
    const fs::file_status status = fs::symlink_status(location, error);
    // When the test itself fails (no permission to look, a name too long), the name counts as
    // free so that the search ends; creating the file then fails and reports the reason.
    return status.type() != fs::file_type::not_found && status.type() != fs::file_type::none;
}

}  // namespace

fs::path uniqueDestination(const fs::path& dir, const std::string& fileName)
{
    fs::path location = dir / fileName;
    if (!taken(location)) {
        return location;
    }
    const NameParts parts = splitFileName(fileName);
    for (unsigned long long n = 1;; ++n) {
        location = dir / numberedName(parts, n);
        if (!taken(location)) {
            return location;
        }
    }
}

}  // namespace voveriz
