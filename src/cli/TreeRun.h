#pragma once

#include "batch/BatchOutcome.h"
#include "batch/BatchSettings.h"
#include "cli/TreeWalk.h"
#include "engine/plan/OutputChoice.h"

#include <filesystem>
#include <mutex>
#include <vector>

namespace voveriz::cli {

// The walked folders made again under the output folder, each when a file is first to be written
// into it, with permissions no wider than its source folder's (the owner may always write).
class TreeOutput {
public:
    explicit TreeOutput(std::vector<WalkedFolder> folders);

    // The output folder for a file of folder (none: the output folder itself), made if need be.
    // Thread safe.
    std::filesystem::path folderFor(const std::filesystem::path& outputDir, std::optional<std::size_t> folder);

    // Removes the folders this run made that stayed empty (no image was found below them). Call
    // once no file is in work.
    void removeEmptyMade();

private:
    void make(const std::filesystem::path& outputDir, std::size_t folder);

    std::vector<WalkedFolder> m_folders;
    std::mutex m_mutex;
    std::vector<bool> m_ready;
    std::vector<std::filesystem::path> m_made;
};

// One file of the run against the settings current for it: the window's checks and engine, its
// output in its folder under the output folder, in the format and quality of choice, its line
// naming it by its path in the walk.
BatchOutcome processWalkedFile(
    const WalkedFile& file, BatchSettingsSnapshot settings, TreeOutput& output, const OutputChoice& choice = {});

// The engine's result for a file of the walk: the file is named by shownFolder and its name
// ("trip/IMG_1.jpg 4000x3000"), and a written file by its path below the output folder.
ResizeResult shownInWalk(const ResizeResult& result, const std::string& shownFolder);

}  // namespace voveriz::cli
