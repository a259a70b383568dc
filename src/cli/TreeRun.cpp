#include "cli/TreeRun.h"

#include "batch/BatchRun.h"
#include "batch/TargetSize.h"
#include "engine/ResizeImage.h"
#include "engine/files/FileName.h"

#include <sys/stat.h>
#include <unistd.h>

namespace voveriz::cli {

namespace fs = std::filesystem;

namespace {

// Everything for the owner, who writes the outputs into it; group and others as far as the source
// folder grants them.
mode_t folderPermissions(mode_t sourceMode)
{
    return S_IRWXU | (sourceMode & (S_IRWXG | S_IRWXO));
}

// The window's checks of one file, then the engine with choice (the window has no such choice).
BatchOutcome processFile(const fs::path& file, const BatchSettingsSnapshot& settings, const OutputChoice& choice)
{
    if (choice == OutputChoice {}) return processDroppedFile(file, settings);
    if (!settings.outputPath) return { std::nullopt, std::string(kNoOutputFolderLine) };
    const std::optional<SizeRule> rule = parseSizeRule(settings.sizeMode, settings.targetText);
    if (!rule) return { std::nullopt, std::string(kInvalidTargetLine) };
    return { resizeImage(file, *rule, *settings.outputPath, settings.metadata, choice), {} };
}

} // namespace

TreeOutput::TreeOutput(std::vector<WalkedFolder> folders)
    : m_folders(std::move(folders))
    , m_ready(m_folders.size())
{
}

fs::path TreeOutput::folderFor(const fs::path& outputDir, std::optional<std::size_t> folder)
{
    if (!folder) return outputDir;
    const std::lock_guard lock(m_mutex);
    make(outputDir, *folder);
    return outputDir / m_folders[*folder].relative;
}

void TreeOutput::make(const fs::path& outputDir, std::size_t folder)
{
    if (m_ready[folder]) return;
    if (m_folders[folder].parent) make(outputDir, *m_folders[folder].parent);
    // A folder of that name already there is used; one that cannot be made gives each of its
    // files the engine's line for the failed write.
    const fs::path path = outputDir / m_folders[folder].relative;
    if (::mkdir(path.c_str(), folderPermissions(m_folders[folder].mode)) == 0) m_made.push_back(path);
    m_ready[folder] = true;
}

void TreeOutput::removeEmptyMade()
{
    const std::lock_guard lock(m_mutex);
    // Deepest first: a child was always made after its parent. rmdir removes only empty folders.
    for (auto it = m_made.rbegin(); it != m_made.rend(); ++it)
        ::rmdir(it->c_str());
    m_made.clear();
}

ResizeResult shownInWalk(const ResizeResult& result, const std::string& shownFolder)
{
    if (shownFolder.empty()) return result;
    ResizeAccount shown = result.account();
    shown.source = shownFolder + shown.source;
    if (!shown.written.empty()) shown.written = shownFolder + shown.written;
    return ResizeResult(std::move(shown));
}

BatchOutcome processWalkedFile(
    const WalkedFile& file, BatchSettingsSnapshot settings, TreeOutput& output, const OutputChoice& choice)
{
    const std::string name = lastComponent(file.source);
    if (!file.error.empty()) {
        return { ResizeResult::failed(file.shownFolder + name, file.error), {} };
    }
    if (settings.outputPath) settings.outputPath = output.folderFor(*settings.outputPath, file.folder);
    BatchOutcome outcome = processFile(file.source, settings, choice);
    if (outcome.result) outcome.result = shownInWalk(*outcome.result, file.shownFolder);
    return outcome;
}

} // namespace voveriz::cli
