#pragma once

#include "engine/plan/Dimension.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace voveriz {

// What became of one file.
enum class Outcome {
    Resized,     // scaled and written under a new name
    Copied,      // already within the target: its bytes copied unchanged
    NotAnImage,  // nothing libvips reads as an image, passed over
    Failed,      // nothing written, for `reason`
};

struct PixelSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool operator==(const PixelSize&) const = default;
};

// The typed account of one file, from which its log line is made.
struct ResizeAccount {
    Outcome outcome = Outcome::Failed;
    std::string source;  // the source's name as shown: its last component (a walk puts its folder before it)
    PixelSize sourceSize;                  // Resized and Copied: as the user sees it
    Dimension dimension = Dimension::Width;  // Copied: the side that was measured
    std::string written;  // Resized and Copied: the new file's name as shown
    PixelSize writtenSize;  // Resized
    std::string convertedTo; // Resized: not empty when written at its own size in another format ("WebP")
    int budgetQuality = 0;  // Resized: the quality a byte budget chose; 0 when none did
    std::string reason;     // Failed: "failed to create resized image", "Permission denied", ...
};

// The reasons the engine itself gives for a failure.
inline constexpr std::string_view kNotCreatedReason = "failed to create resized image";
inline constexpr std::string_view kNotEncodedReason = "failed to encode";

// The outcome of one file: its account, and the status word ("ok", "skip" or "error") and text of
// its log line made from it, which always begins with the source's name as shown.
class ResizeResult {
public:
    explicit ResizeResult(ResizeAccount account);

    // budgetQuality: the quality a byte budget chose, 0 when none did.
    static ResizeResult resized(
        std::string source, PixelSize sourceSize, std::string written, PixelSize writtenSize, int budgetQuality = 0);
    // Within the target, written at its own size in the format titled format ("WebP").
    static ResizeResult converted(
        std::string source, PixelSize size, std::string written, std::string format, int budgetQuality = 0);
    static ResizeResult copied(std::string source, PixelSize sourceSize, Dimension dimension, std::string written);
    static ResizeResult notAnImage(std::string source);
    static ResizeResult failed(std::string source, std::string reason);

    const ResizeAccount& account() const { return m_account; }
    Outcome outcome() const { return m_account.outcome; }
    const std::string& status() const { return m_status; }
    const std::string& message() const { return m_message; }

private:
    ResizeAccount m_account;
    std::string m_status;
    std::string m_message;
};

}  // namespace voveriz
