#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include <sys/types.h>
#include <time.h>

namespace voveriz {

// Where a new file ended up, or why it could not be made (the reason in words, e.g. "Permission
// denied"). When ok is false nothing was left in the folder.
struct PlacedFile {
    bool ok = false;
    std::filesystem::path location;
    std::string error;
};

// Fills a file open for writing at fd; returns 0, or the errno of the failure.
using FileFiller = std::function<int(int fd)>;

// Makes a new file in dir under wantedName, or under the next free "base (n).ext" of
// uniqueDestination: the content goes into a temporary file in dir first (an unnamed O_TMPFILE
// where the file system has it, else a hidden ".voveriz-*.tmp"), which then takes its final name
// with a primitive that refuses to replace (linkat, or renameat2 with RENAME_NOREPLACE). A name
// taken in the meantime moves on to the next number. Nothing is ever overwritten, nothing is
// written through a link, and on any failure the temporary file is removed. No fsync.
// The new file is made from a file with mode sourceMode and never grants group or others a
// permission that file does not grant: it is created with outputPermissions(sourceMode), less the
// umask, so it is never more open than that, not even before it has its name.
PlacedFile placeNewFile(const std::filesystem::path& dir, const std::string& wantedName, mode_t sourceMode,
                        const FileFiller& fill);

// Read and write for the owner; read and write for group and others only as far as sourceMode
// grants them. Never execute, never a special bit.
mode_t outputPermissions(mode_t sourceMode);

// placeNewFile with the given bytes as content, and the given modification time where one is
// given (setting it is a courtesy: its failure does not fail the write).
PlacedFile writeNewFile(const std::filesystem::path& dir, const std::string& wantedName, mode_t sourceMode,
                        std::string_view bytes, const struct timespec* modified = nullptr);

// placeNewFile with the bytes of src, copied unchanged; the copy keeps src's modification time and
// takes its permissions from src's mode.
PlacedFile copyToNewFile(const std::filesystem::path& dir, const std::string& wantedName,
                         const std::filesystem::path& src);

}  // namespace voveriz
