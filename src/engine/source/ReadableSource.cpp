#include "engine/source/ReadableSource.h"

#include "engine/source/UnmappedSource.h"

#include <cstdint>

namespace voveriz {

namespace {

// Files of a format read only by name are copied into memory, up to this size.
constexpr std::int64_t kMaxSnapshotBytes = std::int64_t{1} << 30;

}  // namespace

std::optional<ThumbnailSource> readableSource(const OpenSource& file, SourceSnapshot& snapshot)
{
    {
        const vips::VSource probe = unmappedSource(file.fd());
        if (vips_foreign_find_load_source(probe.get_source()) != nullptr) return ThumbnailSource{{}, file.fd()};
    }
    if (vips_foreign_find_load(file.path().c_str()) == nullptr) {
        vips_error_clear();
        return std::nullopt;
    }
    vips_error_clear();
    snapshot = SourceSnapshot(file.fd(), kMaxSnapshotBytes);
    if (!snapshot.ok()) return ThumbnailSource{};
    // ImageMagick 6's policy refuses to read an unnamed file by path; its buffer loader reads the bytes.
    const std::string_view bytes = snapshot.bytes();
    if (vips_foreign_find_load_buffer(bytes.data(), bytes.size()) != nullptr) {
        return ThumbnailSource{{}, -1, false, bytes};
    }
    vips_error_clear();
    return ThumbnailSource{snapshot.path(), -1};
}

}  // namespace voveriz
