#include "engine/files/FileName.h"

namespace voveriz {

NameParts splitFileName(const std::string& fileName)
{
    // A name ending in "." (such as "photo.") has the empty extension and keeps its dot in the
    // base: "photo." taken gives "photo. (1)", never "photo (1)." nor a name that loses the dot.
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == fileName.size()) {
        return {fileName, ""};
    }
    return {fileName.substr(0, dot), fileName.substr(dot + 1)};
}

std::string lastComponent(const std::filesystem::path& path)
{
    std::filesystem::path p = path;
    while (p.has_relative_path() && p.filename().empty()) p = p.parent_path();
    return p.filename().string();
}

}  // namespace voveriz
