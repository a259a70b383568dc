#pragma once

#include <cstdint>
#include <mutex>

namespace voveriz {

// How much decoding the engine agrees to do for one file, judged from its header before anything
// is decoded. A few hundred bytes can declare gigapixels (a PNG of one color, a GIF whose frame
// lies far outside its screen, a progressive JPEG whose decoder holds every coefficient): past the
// budget the file is refused instead of taking minutes and gigabytes. Copying a file unchanged
// decodes nothing and has no such bound.
inline constexpr std::int64_t kMaxFramePixels = 250'000'000;      // one frame or page, e.g. 20000 x 12500
// The GIF decoder holds a whole frame at 4 bytes a pixel and grows it to hold a frame that lies
// outside the screen; real GIFs are far smaller than photos.
inline constexpr std::int64_t kMaxGifFramePixels = 50'000'000;    // e.g. 7000 x 7000
inline constexpr std::int64_t kMaxDecodedPixels = 1'000'000'000;  // all frames of an animation together
inline constexpr std::int64_t kMaxFrames = 10'000;                 // frames of an animation kept as one

// Whether frames frames of width x height each are within the budget, at most maxFramePixels a frame.
inline bool fitsDecodeBudget(std::int64_t width, std::int64_t height, std::int64_t frames,
                             std::int64_t maxFramePixels = kMaxFramePixels)
{
    if (width < 1 || height < 1 || frames < 1 || frames > kMaxFrames) return false;
    if (width > maxFramePixels / height) return false;
    return frames <= kMaxDecodedPixels / (width * height);
}

// A progressive JPEG, an interlaced PNG or a GIF is held whole by its decoder (up to about 800 MB
// at the frame limit) where other files stream in a strip at a time. Above this size such files
// take turns, one at a time across all workers, so files in flight never multiply that bound.
inline constexpr std::int64_t kMaxHeldPixelsAtOnce = 16'000'000;

// The turn for a whole-held decode of width x height: waits for any other such decode above
// kMaxHeldPixelsAtOnce to end, and holds the turn until the returned lock goes. An empty lock
// for a streaming decode or a small one.
[[nodiscard]] std::unique_lock<std::mutex> takeHeldDecodeTurn(bool heldWhole, std::int64_t width,
                                                              std::int64_t height);

}  // namespace voveriz
