#pragma once

#include <filesystem>
#include <string>

namespace voveriz {

// A file name split into base and extension: the extension is the text after the last ".",
// unless that "." is the name's first character (".hidden" has none). Case is kept.
struct NameParts {
    std::string base;
    std::string extension;
};
NameParts splitFileName(const std::string& fileName);

// The last component of a path, also of a folder given with a trailing separator ("trip/" is "trip").
std::string lastComponent(const std::filesystem::path& path);

}  // namespace voveriz
