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

// The name for counter n: "base (n).ext", or "base (n)" when there is no extension.
std::string numberedName(const NameParts& parts, unsigned long long n);

// The location in dir for fileName that no entry takes: fileName itself when free, else the first
// free "base (n).ext" for n = 1, 2, ... An entry of any kind takes a name, a dangling link included.
// It only tests; the caller creates the file (and must create it without replacing anything).
std::filesystem::path uniqueDestination(const std::filesystem::path& dir, const std::string& fileName);

}  // namespace voveriz
