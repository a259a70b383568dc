#include "engine/source/UnmappedSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A subclass of VipsSource with its own read and seek, as libvips's VipsSourceCustom is, but
// without a signal emission for every read. Its connection has neither a file name nor a
// descriptor, which is what keeps libvips from mapping it (vips_source_is_mappable).
struct VoverizUnmappedSource {
    VipsSource parent;
    int fd;
    gint64 fileLength;  // as it was when the source was made
    std::string* tail;
    gint64 position;
};

struct VoverizUnmappedSourceClass {
    VipsSourceClass parent_class;
};

G_DEFINE_TYPE(VoverizUnmappedSource, voveriz_unmapped_source, VIPS_TYPE_SOURCE)

namespace {

VoverizUnmappedSource* self(VipsSource* source)
{
    return G_TYPE_CHECK_INSTANCE_CAST(source, voveriz_unmapped_source_get_type(), VoverizUnmappedSource);
}

// The stream has the file's length as it was when the source was made, and never yields a byte
// beyond it: libvips copies a source it cannot map into a buffer of that length, in reads that may
// ask for more than is left (libvips 8.14), so a file that grows meanwhile must not overrun it. A
// file that shrinks meanwhile ends early, where its reads return nothing.
gint64 readSource(VipsSource* source, void* buffer, size_t length)
{
    VoverizUnmappedSource* s = self(source);
    if (length == 0) return 0;
    if (s->position < s->fileLength) {
        const auto wanted = static_cast<size_t>(std::min<gint64>(static_cast<gint64>(length), s->fileLength - s->position));
        ssize_t got;
        do {
            got = ::pread(s->fd, buffer, wanted, s->position);
        } while (got < 0 && errno == EINTR);
        if (got < 0) return -1;
        s->position += got;
        return got;
    }
    const gint64 intoTail = s->position - s->fileLength;
    const gint64 left = static_cast<gint64>(s->tail->size()) - intoTail;
    if (left <= 0) return 0;
    const auto count = static_cast<size_t>(std::min<gint64>(left, static_cast<gint64>(length)));
    std::memcpy(buffer, s->tail->data() + intoTail, count);
    s->position += static_cast<gint64>(count);
    return static_cast<gint64>(count);
}

gint64 seekSource(VipsSource* source, gint64 offset, int whence)
{
    VoverizUnmappedSource* s = self(source);
    gint64 base;
    switch (whence) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = s->position; break;
    // libvips aborts on a source it cannot map whose length is 0 (libvips 8.14: vips_source_map
    // asserts). An empty file ends one byte on, a byte no read returns: it fails as a cut file does.
    case SEEK_END: base = std::max<gint64>(s->fileLength + static_cast<gint64>(s->tail->size()), 1); break;
    default: errno = EINVAL; return -1;
    }
    if (base + offset < 0) {
        errno = EINVAL;
        return -1;
    }
    s->position = base + offset;
    return s->position;
}

void finalizeSource(GObject* object)
{
    auto* s = G_TYPE_CHECK_INSTANCE_CAST(object, voveriz_unmapped_source_get_type(), VoverizUnmappedSource);
    if (s->fd >= 0) ::close(s->fd);
    s->fd = -1;
    delete s->tail;
    s->tail = nullptr;
    G_OBJECT_CLASS(voveriz_unmapped_source_parent_class)->finalize(object);
}

}  // namespace

static void voveriz_unmapped_source_class_init(VoverizUnmappedSourceClass* klass)
{
    G_OBJECT_CLASS(klass)->finalize = finalizeSource;
    VIPS_OBJECT_CLASS(klass)->nickname = "voveriz_unmapped_source";
    VIPS_OBJECT_CLASS(klass)->description = "a file read with pread, never mapped";
    klass->parent_class.read = readSource;
    klass->parent_class.seek = seekSource;
}

static void voveriz_unmapped_source_init(VoverizUnmappedSource* source)
{
    source->fd = -1;
    source->fileLength = 0;
    source->tail = nullptr;
    source->position = 0;
}

namespace voveriz {

vips::VSource unmappedSource(int fd, std::string_view tail)
{
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    struct stat info {};
    if (copy < 0 || ::fstat(copy, &info) != 0) {
        const int error = errno;
        if (copy >= 0) ::close(copy);
        throw vips::VError(std::strerror(error));
    }
    auto* source = static_cast<VoverizUnmappedSource*>(g_object_new(voveriz_unmapped_source_get_type(), nullptr));
    source->fd = copy;
    source->fileLength = static_cast<gint64>(info.st_size);
    source->tail = new std::string(tail);
    if (vips_object_build(VIPS_OBJECT(source)) != 0) {
        g_object_unref(source);
        throw vips::VError();
    }
    return vips::VSource(VIPS_SOURCE(source), vips::STEAL);
}

}  // namespace voveriz
