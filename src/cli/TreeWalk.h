#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace voveriz::cli {

// A folder met in a walk, to be made again under the output folder.
struct WalkedFolder {
    std::filesystem::path relative;  // below the output folder, e.g. "trip/day 1"
    mode_t mode = 0;                 // the source folder's permissions
    std::optional<std::size_t> parent;
};

// One line's worth of the run: a file to hand to the engine, or a folder that could not be read.
struct WalkedFile {
    std::filesystem::path source;
    std::string shownFolder;            // "" for a PATH itself, else "trip/day 1/": what its line adds
    std::optional<std::size_t> folder;  // where its output goes; none for the output folder itself
    std::string error;                  // not empty: the folder could not be read, and why
};

struct Walk {
    std::vector<WalkedFile> files;
    std::vector<WalkedFolder> folders;
};

// The files of the run in the order their lines come. Without recursive each PATH is one file, as
// given. With it, a PATH that is a folder (a link to one included) gives its files, names sorted
// byte by byte, then each subfolder the same way; hidden entries (a leading ".") are left out, and
// so is outputDir below a PATH (a PATH that is outputDir itself the caller refuses first, see
// walksOutputFolder). A link to a folder found in the walk is not followed: it is a file, so that a
// loop cannot hang the walk.
Walk walkPaths(const std::vector<std::string>& paths, bool recursive,
               const std::optional<std::filesystem::path>& outputDir);

// Whether any PATH is a folder (following links).
bool anyFolder(const std::vector<std::string>& paths);

// Whether a PATH is the output folder itself (following links), which a walk cannot leave out.
bool walksOutputFolder(const std::vector<std::string>& paths, const std::filesystem::path& outputDir);

}  // namespace voveriz::cli
