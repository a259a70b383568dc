#pragma once

#include <cstddef>

namespace voveriz {

// How far the workers have got, as the taskbar and the end-of-work notification show it.
//
// A stretch of work begins when files are queued while none is in work, and ends when the last
// file queued is done; a drop made meanwhile joins the running stretch. The totals run on across
// stretches, from the workers' start.
struct BatchCounts {
    // This stretch: the files queued in all its drops, and of them the ones done (their line
    // delivered, or passed over once the window was gone).
    std::size_t queued = 0;
    std::size_t done = 0;
    // 0 to 1 over every file of the stretch; within a stretch it never goes down, not even when a
    // drop adds files to it.
    double progress = 0.0;

    // Totals. A photo is handled when the engine gave it its line ("✓", "-" or "✗"); it failed
    // when that line is a "✗" one. A file stopped by a settings line ("Please choose a Resized
    // Folder first.", "Enter a valid pixel number first.") was never looked at: it is not a photo
    // handled, nor one that failed, but one not started.
    std::size_t handled = 0;
    std::size_t failed = 0;
    std::size_t notStarted = 0;

    bool working() const { return done < queued; }
    std::size_t remaining() const { return queued - done; }
};

}  // namespace voveriz
