#include "engine/source/SourceSnapshot.h"

#include "engine/files/ProcFdPath.h"

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
    m_size = static_cast<std::size_t>(copied.st_size);
    if (m_size > 0) {
        m_map = ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, copy, 0);
        if (m_map == MAP_FAILED) {
            m_map = nullptr;
            ::close(copy);
            return;
        }
    }
    m_fd = copy;
    m_path = procFdPath(copy).value_or("");
}

SourceSnapshot::~SourceSnapshot()
{
    release();
}

void SourceSnapshot::release()
{
    if (m_map != nullptr) ::munmap(m_map, m_size);
    if (m_fd >= 0) ::close(m_fd);
    m_map = nullptr;
    m_size = 0;
    m_fd = -1;
    m_path.clear();
}

std::string_view SourceSnapshot::bytes() const
{
    return m_map != nullptr ? std::string_view(static_cast<const char*>(m_map), m_size) : std::string_view();
}

SourceSnapshot::SourceSnapshot(SourceSnapshot&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)), m_map(std::exchange(other.m_map, nullptr)),
      m_size(std::exchange(other.m_size, 0))
{
}

SourceSnapshot& SourceSnapshot::operator=(SourceSnapshot&& other) noexcept
{
    if (this != &other) {
        release();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
        m_map = std::exchange(other.m_map, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

}  // namespace voveriz
