#include "engine/SourceSnapshot.h"

#include <cerrno>
#include <utility>

#include <sys/mman.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace voveriz {

namespace {

// Copies all of in into out from its start; false on any failure. sendfile reads through the page
// cache, so a file that shrinks meanwhile only makes the copy shorter.
bool copyAll(int in, int out)
{
    off_t offset = 0;
    for (;;) {
        const ssize_t sent = ::sendfile(out, in, &offset, 1 << 30);
        if (sent > 0) continue;
        if (sent == 0) return true;
        if (errno == EINTR) continue;
        return false;
    }
}

}  // namespace

SourceSnapshot::SourceSnapshot(int fd, std::int64_t maxBytes)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size > maxBytes) return;
    const int copy = ::memfd_create("voveriz-source", MFD_CLOEXEC);
    if (copy < 0) return;
    if (!copyAll(fd, copy)) {
        ::close(copy);
        return;
    }
    struct stat copied {};
    if (::fstat(copy, &copied) != 0) {
        ::close(copy);
        return;
    }
    size_ = static_cast<std::size_t>(copied.st_size);
    if (size_ > 0) {
        map_ = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, copy, 0);
        if (map_ == MAP_FAILED) {
            map_ = nullptr;
            ::close(copy);
            return;
        }
    }
    fd_ = copy;
    path_ = "/proc/self/fd/" + std::to_string(copy);
}

SourceSnapshot::~SourceSnapshot()
{
    release();
}

void SourceSnapshot::release()
{
    if (map_ != nullptr) ::munmap(map_, size_);
    if (fd_ >= 0) ::close(fd_);
    map_ = nullptr;
    size_ = 0;
    fd_ = -1;
    path_.clear();
}

std::string_view SourceSnapshot::bytes() const
{
    return map_ != nullptr ? std::string_view(static_cast<const char*>(map_), size_) : std::string_view();
}

SourceSnapshot::SourceSnapshot(SourceSnapshot&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)), map_(std::exchange(other.map_, nullptr)),
      size_(std::exchange(other.size_, 0))
{
}

SourceSnapshot& SourceSnapshot::operator=(SourceSnapshot&& other) noexcept
{
    if (this != &other) {
        release();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
        map_ = std::exchange(other.map_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

}  // namespace voveriz
