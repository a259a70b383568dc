#pragma once

namespace voveriz {

// Starts libvips once for the whole process and shuts it down when the last runtime ends.
// Make one in main() before any thread starts; the engine's calls need it to exist.
class EngineRuntime {
public:
    explicit EngineRuntime(const char* argv0);
    ~EngineRuntime();
    EngineRuntime(const EngineRuntime&) = delete;
    EngineRuntime& operator=(const EngineRuntime&) = delete;
};

}  // namespace voveriz
