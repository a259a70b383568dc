#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include <sys/stat.h>

namespace voveriz {

// The source, opened once. libvips reads it from this descriptor and the unchanged copy is made
// from it too (by its /proc/self/fd name), so the file that is measured is the file that is
// decoded or copied, even when its name is given to another file meanwhile. Neither reads the
// file's name, so a trailing "[...]" in it is never taken as loader options. Only regular files
// are opened: folders, devices and pipes are not images (and a pipe must not block the worker).
class OpenSource {
public:
    explicit OpenSource(const std::filesystem::path& src);
    ~OpenSource();
    OpenSource(const OpenSource&) = delete;
    OpenSource& operator=(const OpenSource&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    // The name the file is opened again by: under /proc/self/fd where /proc is mounted.
    const std::string& path() const { return m_path; }
    mode_t mode() const { return m_opened.st_mode; }  // what a written file's permissions are drawn from
    const struct timespec& modified() const { return m_opened.st_mtim; }  // as it was when opened
    std::uint64_t storedBytes() const { return static_cast<std::uint64_t>(m_opened.st_size); }  // when opened

    // Whether the file was written to since it was opened (its size, or its change time).
    bool changedSinceOpened() const;

private:
    std::string m_path;
    int m_fd = -1;
    struct stat m_opened {};  // as it was when opened
};

}  // namespace voveriz
