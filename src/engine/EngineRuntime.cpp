#include "engine/EngineRuntime.h"

#include <vips/vips8>
#include <vips/vector.h>

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
    // libvips 8.14's run-time generated (orc) code is freed without care for other threads: two
    // batches at once could crash inside liborc. The plain C paths are as fast for our work.
    vips_vector_set_enabled(FALSE);
    // Text tables are not photos: without this, a dropped .csv or a matrix text file would be
    // "resized" into a JPEG of numbers.
    vips_operation_block_set("VipsForeignLoadCsv", TRUE);
    vips_operation_block_set("VipsForeignLoadMatrix", TRUE);
    // A broken file already becomes its own result line; libvips's warnings about it ("error in
    // tile 0 x 10") would only be noise on stderr. VOVERIZ_VIPS_WARNINGS=1 brings them back.
    if (!std::getenv("VOVERIZ_VIPS_WARNINGS")) {
        g_log_set_handler("VIPS", G_LOG_LEVEL_WARNING, [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {},
                          nullptr);
    }
}

EngineRuntime::~EngineRuntime()
{
    vips_shutdown();
}

}  // namespace voveriz
