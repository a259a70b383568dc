#include "engine/source/JpegEndMarker.h"

#include "engine/source/UnmappedSource.h"

#include <cstring>
#include <string_view>

#include <sys/stat.h>
#include <unistd.h>

namespace voveriz {

namespace {

constexpr unsigned char kEndMarker[2] = {0xFF, 0xD9};

}  // namespace

bool lacksJpegEndMarker(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size < 2) return false;
    unsigned char tail[2] = {};
    if (::pread(fd, tail, sizeof tail, info.st_size - 2) != 2) return false;
    return std::memcmp(tail, kEndMarker, sizeof tail) != 0;
}

vips::VSource sourceWithJpegEndMarker(int fd)
{
    return unmappedSource(fd, std::string_view(reinterpret_cast<const char*>(kEndMarker), sizeof kEndMarker));
}

}  // namespace voveriz
