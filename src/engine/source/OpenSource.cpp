#include "engine/source/OpenSource.h"

#include "engine/files/ProcFdPath.h"

#include <fcntl.h>
#include <unistd.h>

namespace voveriz {

OpenSource::OpenSource(const std::filesystem::path& src)
{
    std::error_code statError;
    if (!std::filesystem::is_regular_file(src, statError)) return;
    m_fd = ::open(src.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    struct stat info {};
    if (m_fd >= 0 && (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_opened = info;
    if (m_fd >= 0) m_path = procFdPath(m_fd).value_or(src.string());
}

OpenSource::~OpenSource()
{
    if (m_fd >= 0) ::close(m_fd);
}

bool OpenSource::changedSinceOpened() const
{
    struct stat now {};
    if (::fstat(m_fd, &now) != 0) return true;
    return now.st_size != m_opened.st_size || now.st_ctim.tv_sec != m_opened.st_ctim.tv_sec
           || now.st_ctim.tv_nsec != m_opened.st_ctim.tv_nsec;
}

}  // namespace voveriz
