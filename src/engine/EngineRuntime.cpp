#include "engine/EngineRuntime.h"

#include "engine/HeapReuse.h"

#include <vips/vips8>

#include <cstdlib>
#include <stdexcept>

namespace voveriz {

namespace {

void* initialiseClass(GType type, void*)
{
    if (!G_TYPE_IS_ABSTRACT(type)) g_type_class_ref(type);
    return nullptr;
}

}  // namespace

EngineRuntime::EngineRuntime(const char* argv0)
{
    keepFileBuffersInHeap();
    if (VIPS_INIT(argv0 ? argv0 : "voveriz") != 0) {
        throw std::runtime_error("libvips failed to start");
    }
    // Every file is read once; caching operations between files only costs memory.
    vips_cache_set_max(0);
    // Some operations generate their vector code once, when their class is first used: do that for
    // every operation now (2.7 ms), before any worker builds or releases a pipeline (PipelineGuard).
    vips_type_map_all(VIPS_TYPE_OPERATION, initialiseClass, nullptr);
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
