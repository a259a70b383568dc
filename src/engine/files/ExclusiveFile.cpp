#include "engine/files/ExclusiveFile.h"

#include "engine/files/ErrorText.h"
#include "engine/files/ExclusiveFileTesting.h"
#include "engine/files/FileName.h"
#include "engine/files/ProcFdPath.h"
#include "engine/files/UniqueDestination.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace voveriz {

namespace fs = std::filesystem;

namespace {

// Closes a descriptor at the end of a scope.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    void adopt(int fd)
    {
        reset();
        m_fd = fd;
    }
    // Closes now; returns 0 or the errno of a failed close (a late write error on some file systems).
    int reset()
    {
        int error = 0;
        if (m_fd >= 0 && ::close(m_fd) != 0) error = errno;
        m_fd = -1;
        return error;
    }

private:
    int m_fd;
};

std::atomic<bool> namedTemporaryFilesOnly{false};

std::string hiddenTempName()
{
    thread_local std::mt19937_64 random{std::random_device{}()};
    char name[48];
    std::snprintf(name, sizeof name, ".voveriz-%016llx.tmp", static_cast<unsigned long long>(random()));
    return name;
}

// Gives the temporary file its final name in dir without replacing anything; a name taken
// meanwhile moves on to the next free one. link() is tried first (it works on most file systems);
// where the file system has no hard links, renameat2 with RENAME_NOREPLACE.
// linkSource is the path that names the temporary file for linkat (relative to sourceDirFd).
PlacedFile takeFinalName(int dirFd, const fs::path& dir, const std::string& wantedName, int sourceDirFd,
                         const char* linkSource, int linkFlags, bool mayRename, bool& renamed)
{
    renamed = false;
    bool useRename = false;
    // The bound only guards against a file system that keeps refusing names it reports as free.
    for (int attempt = 0; attempt < 100000; ++attempt) {
        const fs::path location = uniqueDestination(dir, wantedName);
        const std::string name = location.filename().string();
        int result;
        if (!useRename) {
            result = ::linkat(sourceDirFd, linkSource, dirFd, name.c_str(), linkFlags);
        } else {
            result = ::renameat2(sourceDirFd, linkSource, dirFd, name.c_str(), RENAME_NOREPLACE);
        }
        if (result == 0) {
            renamed = useRename;
            return {true, location, {}};
        }
        const int error = errno;
        if (error == EEXIST) continue;
        if (!useRename && mayRename && (error == EPERM || error == EOPNOTSUPP || error == EMLINK || error == ENOSYS)) {
            useRename = true;
            --attempt;
            continue;
        }
        return {false, {}, errorText(error)};
    }
    return {false, {}, errorText(EEXIST)};
}

}  // namespace

void useNamedTemporaryFilesOnly(bool on)
{
    namedTemporaryFilesOnly = on;
}


mode_t outputPermissions(mode_t sourceMode)
{
    return S_IRUSR | S_IWUSR | (sourceMode & (S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH));
}

PlacedFile placeNewFile(const fs::path& dir, const std::string& wantedName, mode_t sourceMode, const FileFiller& fill)
{
    // The kernel takes the umask (or the folder's default ACL) off these bits.
    const mode_t permissions = outputPermissions(sourceMode);
    Fd dirFd(::open(dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() < 0) {
        return {false, {}, errorText(errno)};
    }

    // The best way: an unnamed file that only appears under its final name, and only complete. It
    // is linked into place by its name under /proc, so only where /proc is mounted.
    if (procFdPath(dirFd.get()) && !namedTemporaryFilesOnly) {
        Fd file(::openat(dirFd.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, permissions));
        if (file.get() >= 0) {
            if (int error = fill(file.get()); error != 0) {
                return {false, {}, errorText(error)};
            }
            const std::string self = *procFdPath(file.get());
            bool renamed = false;
            PlacedFile placed = takeFinalName(dirFd.get(), dir, wantedName, AT_FDCWD, self.c_str(),
                                              AT_SYMLINK_FOLLOW, false, renamed);
            if (!placed.ok) {
                return placed;  // the unnamed file vanishes when it is closed
            }
            if (int error = file.reset(); error != 0) {
                ::unlinkat(dirFd.get(), placed.location.filename().c_str(), 0);
                return {false, {}, errorText(error)};
            }
            return placed;
        }
        const int error = errno;
        // Only a file system without O_TMPFILE sends us to the named temporary file.
        if (error != EOPNOTSUPP && error != EISDIR && error != EINVAL) {
            return {false, {}, errorText(error)};
        }
    }

    // The fallback: a hidden named temporary file, linked (or renamed) to its final name.
    std::string tempName;
    Fd file;
    for (int attempt = 0; attempt < 100 && file.get() < 0; ++attempt) {
        tempName = hiddenTempName();
        file.adopt(::openat(dirFd.get(), tempName.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW,
                              permissions));
        if (file.get() < 0 && errno != EEXIST) {
            return {false, {}, errorText(errno)};
        }
    }
    if (file.get() < 0) {
        return {false, {}, errorText(EEXIST)};
    }
    int error = fill(file.get());
    if (error == 0) {
        error = file.reset();
    }
    if (error != 0) {
        ::unlinkat(dirFd.get(), tempName.c_str(), 0);
        return {false, {}, errorText(error)};
    }
    bool renamed = false;
    PlacedFile placed =
        takeFinalName(dirFd.get(), dir, wantedName, dirFd.get(), tempName.c_str(), 0, true, renamed);
    if (!renamed) {
        ::unlinkat(dirFd.get(), tempName.c_str(), 0);
    }
    return placed;
}

namespace {

int writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

}  // namespace

PlacedFile writeNewFile(const fs::path& dir, const std::string& wantedName, mode_t sourceMode, std::string_view bytes,
                        const struct timespec* modified)
{
    return placeNewFile(dir, wantedName, sourceMode, [bytes, modified](int fd) {
        if (int error = writeAll(fd, bytes); error != 0) return error;
        if (modified != nullptr) {
            const struct timespec times[2] = {{0, UTIME_OMIT}, *modified};
            ::futimens(fd, times);
        }
        return 0;
    });
}

PlacedFile copyToNewFile(const fs::path& dir, const std::string& wantedName, const fs::path& src)
{
    Fd in(::open(src.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) {
        return {false, {}, errorText(errno)};
    }
    struct stat info {};
    if (::fstat(in.get(), &info) != 0) {
        return {false, {}, errorText(errno)};
    }
    return placeNewFile(dir, wantedName, info.st_mode, [&](int fd) {
        // copy_file_range shares or copies in the kernel; plain reads and writes where it cannot.
        bool kernelCopy = true;
        off_t offset = 0;
        for (;;) {
            if (kernelCopy) {
                const ssize_t copied = ::copy_file_range(in.get(), &offset, fd, nullptr, 1 << 30, 0);
                if (copied > 0) continue;
                if (copied == 0) break;
                if (errno == EINTR) continue;
                if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP && errno != EBADF) {
                    return errno;
                }
                kernelCopy = false;
                continue;
            }
            char buffer[1 << 16];
            const ssize_t got = ::pread(in.get(), buffer, sizeof buffer, offset);
            if (got < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            if (got == 0) break;
            if (int error = writeAll(fd, std::string_view(buffer, static_cast<std::size_t>(got))); error != 0) {
                return error;
            }
            offset += got;
        }
        const struct timespec times[2] = {info.st_atim, info.st_mtim};
        ::futimens(fd, times);  // keeping the time is a courtesy; its failure does not fail the copy
        return 0;
    });
}

}  // namespace voveriz
