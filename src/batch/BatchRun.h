#pragma once

#include "batch/BatchOutcome.h"
#include "batch/BatchSettings.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace voveriz {

// One file against the settings current when the worker reaches it: the folder check, then the
// target-size check, then the engine. Blocking; runs on a worker.
BatchOutcome processDroppedFile(const std::filesystem::path& file, const BatchSettingsSnapshot& settings);

// Walks one drop's files in order, one at a time, handing each outcome to deliver. The settings
// are read afresh for every file; once their owner is gone the remaining files are skipped
// without a word.
void runBatch(const std::vector<std::filesystem::path>& files, const std::weak_ptr<const BatchSettings>& settings,
              const std::function<void(BatchOutcome)>& deliver);

}  // namespace voveriz
