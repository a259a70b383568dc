#include "engine/EngineRuntime.h"

#include <vips/vips8>

#include <cstdlib>
#include <stdexcept>

namespace voveriz {

EngineRuntime::EngineRuntime(const char* argv0)
{
    if (VIPS_INIT(argv0 ? argv0 : "voveriz") != 0) {
        throw std::runtime_error("libvips failed to start");
    }
    // Every file is read once; caching operations between files only costs memory.
    vips_cache_set_max(0);
}

EngineRuntime::~EngineRuntime()
{
    vips_shutdown();
}

}  // namespace voveriz
