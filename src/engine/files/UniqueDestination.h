#pragma once

#include "engine/files/FileName.h"

#include <filesystem>
#include <string>

namespace voveriz {

// The name for counter n: "base (n).ext", or "base (n)" when there is no extension.
std::string numberedName(const NameParts& parts, unsigned long long n);

// The location in dir for fileName that no entry takes: fileName itself when free, else the first
// free "base (n).ext" for n = 1, 2, ... An entry of any kind takes a name, a dangling link included.
// It only tests; the caller creates the file (and must create it without replacing anything).
std::filesystem::path uniqueDestination(const std::filesystem::path& dir, const std::string& fileName);

}  // namespace voveriz
