#pragma once

#include "engine/source/OpenSource.h"
#include "engine/source/SourceSnapshot.h"
#include "engine/source/ThumbnailSource.h"

#include <optional>

namespace voveriz {

// How libvips reads the open file. Through an unmapped source wherever a loader of its format
// reads sources, as the loaders of every photo format do: a file read by name may be mapped (by
// libtiff, by libvips 8.14's GIF and WebP loaders, by more of libvips 8.16's), and a file that
// another program shortens under a mapping kills the process with SIGBUS. The few loaders that
// read only named files read a private snapshot, kept in `snapshot`, instead. None when no loader
// takes the file; an empty source when its snapshot would be too large.
std::optional<ThumbnailSource> readableSource(const OpenSource& file, SourceSnapshot& snapshot);

}  // namespace voveriz
