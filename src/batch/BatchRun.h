#pragma once

#include "batch/BatchOutcome.h"
#include "batch/BatchSettings.h"

#include <filesystem>

namespace voveriz {

// One file against the settings current when the worker reaches it: the folder check, then the
// target-size check, then the engine. Blocking; runs on a worker.
BatchOutcome processDroppedFile(const std::filesystem::path& file, const BatchSettingsSnapshot& settings);

}  // namespace voveriz
