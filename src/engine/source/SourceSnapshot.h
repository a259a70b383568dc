#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace voveriz {

// A private copy, in memory, of a file open at fd, for the libvips loaders that read no source:
// those that read a buffer (ImageMagick's, where libvips was built with ImageMagick 6) read its
// bytes, and those that read only a named file (FITS, OpenEXR, Analyze, MAT, libvips's own format)
// open it by path and may map it. Nobody else can shorten the copy under a mapping. Made from the
// same open file, so the copy is of the file that was opened. Empty (ok() false) when the file is
// larger than maxBytes or cannot be copied.
class SourceSnapshot {
public:
    SourceSnapshot() = default;
    SourceSnapshot(int fd, std::int64_t maxBytes);
    ~SourceSnapshot();
    SourceSnapshot(SourceSnapshot&& other) noexcept;
    SourceSnapshot& operator=(SourceSnapshot&& other) noexcept;
    SourceSnapshot(const SourceSnapshot&) = delete;
    SourceSnapshot& operator=(const SourceSnapshot&) = delete;

    bool ok() const { return m_fd >= 0; }
    const std::string& path() const { return m_path; }  // what a loader opens by name
    std::string_view bytes() const;                    // the copy, mapped

private:
    int m_fd = -1;
    std::string m_path;
    void* m_map = nullptr;
    std::size_t m_size = 0;

    void release();
};

}  // namespace voveriz
