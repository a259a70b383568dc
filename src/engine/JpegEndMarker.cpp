#include "engine/JpegEndMarker.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace voveriz {

namespace {

constexpr unsigned char kEndMarker[2] = {0xFF, 0xD9};

// The file followed by the marker, as one stream of size + 2 bytes.
struct MarkedFile {
    int fd;
    gint64 size;
    gint64 position = 0;
    MarkedFile(int fd, gint64 size) : fd(fd), size(size) {}
    ~MarkedFile() { ::close(fd); }
    MarkedFile(const MarkedFile&) = delete;
    MarkedFile& operator=(const MarkedFile&) = delete;
};

gint64 readMarked(VipsSourceCustom*, void* buffer, gint64 length, gpointer data)
{
    auto* file = static_cast<MarkedFile*>(data);
    if (length <= 0) return 0;
    if (file->position < file->size) {
        const auto wanted = static_cast<size_t>(std::min(length, file->size - file->position));
        ssize_t got;
        do {
            got = ::pread(file->fd, buffer, wanted, file->position);
        } while (got < 0 && errno == EINTR);
        if (got < 0) return -1;
        file->position += got;  // 0 when the file shrank meanwhile: the stream ends there
        return got;
    }
    const gint64 offset = file->position - file->size;
    const gint64 count = std::min<gint64>(length, static_cast<gint64>(sizeof kEndMarker) - offset);
    if (count <= 0) return 0;
    std::memcpy(buffer, kEndMarker + offset, static_cast<size_t>(count));
    file->position += count;
    return count;
}

gint64 seekMarked(VipsSourceCustom*, gint64 offset, int whence, gpointer data)
{
    auto* file = static_cast<MarkedFile*>(data);
    const gint64 total = file->size + static_cast<gint64>(sizeof kEndMarker);
    gint64 base;
    switch (whence) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = file->position; break;
    case SEEK_END: base = total; break;
    default: return -1;
    }
    const gint64 target = base + offset;
    if (target < 0 || target > total) return -1;
    file->position = target;
    return target;
}

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
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    struct stat info {};
    if (copy < 0 || ::fstat(copy, &info) != 0) {
        const int error = errno;
        if (copy >= 0) ::close(copy);
        throw vips::VError(std::strerror(error));
    }
    VipsSourceCustom* custom = vips_source_custom_new();
    auto* file = new MarkedFile(copy, info.st_size);
    g_object_set_data_full(G_OBJECT(custom), "voveriz-marked-file", file,
                           [](gpointer data) { delete static_cast<MarkedFile*>(data); });
    g_signal_connect(custom, "read", G_CALLBACK(readMarked), file);
    g_signal_connect(custom, "seek", G_CALLBACK(seekMarked), file);
    return vips::VSource(VIPS_SOURCE(custom), vips::STEAL);
}

}  // namespace voveriz
