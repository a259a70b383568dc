#pragma once

#include <vips/vips8>

#include <string_view>

namespace voveriz {

// A libvips source that reads the file open at fd with pread(2), followed by the bytes of tail,
// as one stream of the file's length now plus the tail's. libvips can never map it into memory:
// its loaders read it, or copy it into memory where they want the whole file at once. A file that
// another program shortens while it is read then simply ends early, and the loader fails as on
// any cut file; through a mapping, the same access would kill the process with SIGBUS. A file
// that grows meanwhile yields no more than its length. The source keeps its own duplicate of fd.
// Throws vips::VError when fd cannot be used.
vips::VSource unmappedSource(int fd, std::string_view tail = {});

}  // namespace voveriz
