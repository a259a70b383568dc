#include "engine/ResizeImage.h"

#include "engine/source/DecodeBudget.h"
#include "engine/files/ExclusiveFile.h"
#include "engine/source/JpegEndMarker.h"
#include "engine/pipeline/OutputFormat.h"
#include "engine/pipeline/PipelineGuard.h"
#include "engine/ScaledSize.h"
#include "engine/source/SourceSnapshot.h"
#include "engine/pipeline/Thumbnail.h"
#include "engine/files/UniqueDestination.h"
#include "engine/source/UnmappedSource.h"

#include <vips/vips8>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <exception>
#include <optional>

namespace voveriz {

namespace fs = std::filesystem;
using vips::VError;
using vips::VImage;

namespace {

// The last component of src, also for a folder given with a trailing separator.
std::string sourceName(const fs::path& src)
{
    fs::path p = src;
    while (p.has_relative_path() && p.filename().empty()) {
        p = p.parent_path();
    }
    return p.filename().string();
}

// The source, opened once. libvips reads it from this descriptor (readableSource) and the unchanged
// copy is made through /proc/self/fd from it too, so the file that is measured is the file that is
// decoded or copied, even when its name is given to another file meanwhile. Neither reads the
// file's name, so a trailing "[...]" in it is never taken as loader options. Only regular files
// are opened: folders, devices and pipes are not images (and a pipe must not block the worker).
class OpenSource {
public:
    explicit OpenSource(const fs::path& src)
    {
        std::error_code statError;
        if (!fs::is_regular_file(src, statError)) return;
        m_fd = ::open(src.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        struct stat info {};
        if (m_fd >= 0 && (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode))) {
            ::close(m_fd);
            m_fd = -1;
        }
        m_opened = info;
        if (m_fd >= 0) {
            static const bool procUsable = ::access("/proc/self/fd", X_OK) == 0;
            m_path = procUsable ? "/proc/self/fd/" + std::to_string(m_fd) : src.string();
        }
    }
    ~OpenSource()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    OpenSource(const OpenSource&) = delete;
    OpenSource& operator=(const OpenSource&) = delete;
    bool isOpen() const { return m_fd >= 0; }
    const std::string& path() const { return m_path; }
    int fd() const { return m_fd; }
    mode_t mode() const { return m_opened.st_mode; }  // what a written file's permissions are drawn from

    // Whether the file was written to since it was opened (its size, or its change time).
    bool changedSinceOpened() const
    {
        struct stat now {};
        if (::fstat(m_fd, &now) != 0) return true;
        return now.st_size != m_opened.st_size || now.st_ctim.tv_sec != m_opened.st_ctim.tv_sec
               || now.st_ctim.tv_nsec != m_opened.st_ctim.tv_nsec;
    }

private:
    std::string m_path;
    int m_fd = -1;
    struct stat m_opened {};  // as it was when opened
};

// The header of the first page or frame: the size the user sees (EXIF orientation applied), its
// page count and whether it carries a color profile. Nothing is decoded. None when libvips cannot
// read src as an image.
struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0;
    int orientation = 1;  // EXIF: 1 upright; 5 to 8 swap width and height
    int pages = 1;
    bool hasProfile = false;
    bool gif = false;         // read by libvips's own GIF decoder
    bool jpeg = false;        // read by libjpeg
    bool interlaced = false;  // a progressive JPEG or an interlaced PNG
    StoredHeader stored;      // as stored, for the thumbnail steps
};

// Files of a format read only by name are copied into memory, up to this size.
constexpr std::int64_t kMaxSnapshotBytes = std::int64_t{1} << 30;

// How libvips reads the open source. Through an unmapped source wherever a loader of its format
// reads sources, as the loaders of every photo format do: a file read by name may be mapped (by
// libtiff, by libvips 8.14's GIF and WebP loaders, by more of libvips 8.16's), and a file that
// another program shortens under a mapping kills the process with SIGBUS. The few loaders that
// read only named files read a private snapshot instead. None when no loader takes the file; an
// empty source when its snapshot would be too large.
std::optional<ThumbnailSource> readableSource(const OpenSource& file, SourceSnapshot& snapshot)
{
    {
        const vips::VSource probe = unmappedSource(file.fd());
        if (vips_foreign_find_load_source(probe.get_source()) != nullptr) return ThumbnailSource{{}, file.fd()};
    }
    if (vips_foreign_find_load(file.path().c_str()) == nullptr) {
        vips_error_clear();
        return std::nullopt;
    }
    vips_error_clear();
    snapshot = SourceSnapshot(file.fd(), kMaxSnapshotBytes);
    if (!snapshot.ok()) return ThumbnailSource{};
    // ImageMagick 6's policy refuses to read an unnamed file by path; its buffer loader reads the bytes.
    const std::string_view bytes = snapshot.bytes();
    if (vips_foreign_find_load_buffer(bytes.data(), bytes.size()) != nullptr) {
        return ThumbnailSource{{}, -1, false, bytes};
    }
    vips_error_clear();
    return ThumbnailSource{snapshot.path(), -1};
}

std::optional<Header> readHeader(const ThumbnailSource& source)
{
    try {
        const GuardedImage image([&] { return openImage(source); });
        Header header;
        header.width = image->width();
        header.height = image->height();
        header.orientation = vips_image_get_orientation(image->get_image());
        if (vips_image_get_orientation_swap(image->get_image())) {
            std::swap(header.width, header.height);
        }
        header.stored = storedHeaderOf(*image);
        header.pages = header.stored.pages;
        header.hasProfile = image->get_typeof(VIPS_META_ICC_NAME) != 0;
        header.interlaced = header.stored.interlaced;
        header.gif = header.stored.loader == "gifload";
        header.jpeg = header.stored.loader == "jpegload";
        if (header.width < 1 || header.height < 1) return std::nullopt;
        return header;
    } catch (const VError&) {
        vips_error_clear();  // the messages are not shown; keep libvips's error buffer from filling
        return std::nullopt;
    }
}

std::string sizeText(std::int64_t width, std::int64_t height)
{
    return std::to_string(width) + "x" + std::to_string(height);
}

ResizeResult resize(const fs::path& src, const std::string& name, std::int64_t target, bool widthMode,
                    const fs::path& outputDir, const MetadataOptions& metadata)
{
    const ResizeResult notAnImage("skip", name + " - not an image, skipped");
    const ResizeResult notCreated("error", name + " - failed to create resized image");

    const OpenSource source(src);
    if (!source.isOpen()) {
        return notAnImage;
    }
    SourceSnapshot snapshot;
    const std::optional<ThumbnailSource> readable = readableSource(source, snapshot);
    if (!readable) {
        return notAnImage;
    }
    if (readable->fd < 0 && readable->bytes.empty() && readable->path.empty()) {
        return notCreated;
    }
    const std::optional<Header> header = readHeader(*readable);
    if (!header) {
        return notAnImage;
    }
    const std::int64_t w = header->width;
    const std::int64_t h = header->height;
    const std::int64_t measured = widthMode ? w : h;

    if (target >= measured) {
        const PlacedFile copy = copyToNewFile(outputDir, name, source.path());
        if (!copy.ok) {
            return {"error", name + " - " + copy.error};
        }
        return {"skip", name + " - already " + std::to_string(measured)
                            + (widthMode ? "px wide, copied as-is" : "px tall, copied as-is")};
    }

    const std::int64_t newW = widthMode ? target : scaledOtherSide(target, h, w);
    const std::int64_t newH = widthMode ? scaledOtherSide(target, w, h) : target;
    if (newW < 1 || newH < 1) {
        return notCreated;
    }

    const NameParts parts = splitFileName(name);
    const OutputFormat output = outputFormatFor(parts.extension);
    const bool allFrames = output.format == ImageFormat::Gif && header->pages > 1;
    if (!fitsDecodeBudget(w, h, allFrames ? header->pages : 1, header->gif ? kMaxGifFramePixels : kMaxFramePixels)) {
        return notCreated;
    }

    // Shrink-on-load to exactly newW x newH (the size the user sees). Every frame of an animation
    // that stays a GIF, else the first. A turned photo is scaled as stored (newH x newW when its
    // orientation swaps the sides) and turned upright afterwards, outside the pipeline lock.
    const bool turned = header->orientation != 1;
    const bool sidesSwap = header->orientation >= 5 && header->orientation <= 8;
    const ThumbnailRequest request{static_cast<int>(sidesSwap ? newH : newW),
                                   static_cast<int>(sidesSwap ? newW : newH), allFrames,
                                   header->hasProfile && !carriesColorProfile(output.format)};
    // A JPEG that fails and lacks its end marker is read once more with the marker put back. Only
    // one whose image data is complete then decodes without a single warning; one cut off inside
    // its data meets the marker too early ("premature end of data segment") and stays an error.
    ThumbnailSource thumbnailSource = *readable;
    auto makeThumbnail = [&]() {
        return GuardedImage([&] { return buildThumbnail(thumbnailSource, header->stored, request); });
    };

    auto scaleAndEncode = [&]() {
        const GuardedImage scaled = makeThumbnail();
        if (!turned) return encodeImage(*scaled, output.format, metadata);
        // libvips turns a photo from memory; the decoding and scaling happen here, unlocked.
        const VImage stored = scaled->copy_memory();
        const GuardedImage upright([&] { return stored.autorot(); });
        return encodeImage(*upright, output.format, metadata);
    };

    const auto heldDecodeTurn = takeHeldDecodeTurn(header->interlaced || header->gif, w, h);
    std::string bytes;
    try {
        try {
            bytes = scaleAndEncode();
        } catch (const VError&) {
            if (!header->jpeg || !lacksJpegEndMarker(source.fd())) throw;
            vips_error_clear();
            thumbnailSource.endMarkerPutBack = true;
            bytes = scaleAndEncode();
        }
    } catch (const VError&) {
        // A file written to while it was read failed in its reading, whatever the step that met it.
        if (source.changedSinceOpened()) {
            vips_error_clear();
            return notCreated;
        }
        // Decoding and encoding run as one pipeline; tell them apart by decoding alone.
        try {
            const GuardedImage decoded = makeThumbnail();
            decoded->avg();
        } catch (const VError&) {
            vips_error_clear();
            return notCreated;
        }
        vips_error_clear();
        return {"error", name + " - failed to encode"};
    }
    if (bytes.empty()) {
        return {"error", name + " - failed to encode"};
    }

    const PlacedFile written = writeNewFile(outputDir, parts.base + "." + output.extension, source.mode(), bytes);
    if (!written.ok) {
        return {"error", name + " - " + written.error};
    }
    return {"ok", name + " " + sizeText(w, h) + "\n   " + written.location.filename().string() + " "
                      + sizeText(newW, newH)};
}

}  // namespace

ResizeResult resizeImage(const fs::path& src, std::int64_t target, Dimension dimension,
                         const fs::path& outputDir, const MetadataOptions& metadata)
{
    std::string name;
    try {
        name = sourceName(src);
        return resize(src, name, target, dimension == Dimension::Width, outputDir, metadata);
    } catch (const VError&) {
        vips_error_clear();
        return {"error", name + " - failed to create resized image"};
    } catch (const std::exception& e) {
        return {"error", name + " - " + e.what()};
    } catch (...) {
        return {"error", name + " - failed to create resized image"};
    }
}

}  // namespace voveriz
