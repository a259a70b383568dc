#pragma once

namespace voveriz {

// The image to make, as stored: a turned photo is scaled as it is stored and the caller turns it
// upright afterwards. Each side is scaled on its own to exactly its size (libvips's size "force").
struct ThumbnailRequest {
    int width = 0;
    int height = 0;
    bool allFrames = false;   // every frame of an animation, one below the other; else the first
    bool exportSrgb = false;  // pixels converted to sRGB by their profile, for a format that cannot carry one
};

}  // namespace voveriz
