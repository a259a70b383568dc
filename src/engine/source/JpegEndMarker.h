#pragma once

#include <vips/vips8>

namespace voveriz {

// Whether the file open at fd is readable and does not end with a JPEG end-of-image marker
// (FF D9), as a JPEG cut off by a transfer, or written by some phone apps, may not.
bool lacksJpegEndMarker(int fd);

// A libvips source that reads the file open at fd from its start and then the end-of-image marker
// it lacks. The source keeps its own duplicate of fd. Throws vips::VError when fd cannot be used.
vips::VSource sourceWithJpegEndMarker(int fd);

}  // namespace voveriz
