#include "engine/resample/ReduceKernels.h"
#include "engine/resample/ReducePasses.h"

#include <algorithm>

namespace voveriz::resample {

namespace {

// Box line `line` (a line of the box-averaged image) over the columns of `area`, into `to`. Like
// libvips's shrinkv, the input is asked for one box of lines at a time; past the last line the
// last line repeats.
int averageBox(VipsRegion* in, const VipsRect& area, int line, int box, ReduceScratch& scratch, std::uint8_t* to)
{
    const int first = line * box;
    const int available = std::min(box, in->im->Ysize - first);
    VipsRect need{area.left, first, area.width, available};
    if (vips_region_prepare(in, &need)) return -1;
    scratch.boxLines.resize(box);
    for (int j = 0; j < box; j++) {
        scratch.boxLines[j] = VIPS_REGION_ADDR(in, area.left, first + std::min(j, available - 1));
    }
    averageLines(scratch.boxLines.data(), box, to, (std::size_t)area.width * in->im->Bands);
    return 0;
}

}  // namespace

int reduceVertically(VipsRegion* out, VipsRegion* in, const ReduceAxis& axis, ReduceScratch& scratch)
{
    const VipsRect& area = out->valid;
    const std::size_t lineBytes = (std::size_t)area.width * in->im->Bands;
    const int box = axis.box();

    if (!axis.reduces()) {
        for (int y = area.top; y < VIPS_RECT_BOTTOM(&area); y++) {
            if (averageBox(in, area, y, box, scratch, VIPS_REGION_ADDR(out, area.left, y))) return -1;
        }
        return 0;
    }

    const int taps = axis.taps();
    scratch.firstTaps.resize(area.height);
    scratch.phases.resize(area.height);
    axis.place(area.top, area.height, scratch.firstTaps.data(), scratch.phases.data());
    const int last = axis.boxedSize() - 1;
    const int low = std::clamp(scratch.firstTaps.front(), 0, last);
    const int high = std::clamp(scratch.firstTaps.back() + taps - 1, 0, last);

    // The input lines the taps reach, boxed first where there is a box.
    BoxedLines& boxed = scratch.boxed;
    const auto boxedLine = [&](int line) {
        return boxed.bytes.data() + (std::size_t)(line % boxed.capacity) * lineBytes;
    };
    if (box > 1) {
        const int needed = high - low + 1;
        const bool held = boxed.left == area.left && boxed.width == area.width && boxed.capacity >= needed &&
                          low >= boxed.low && low <= boxed.high + 1;
        if (!held) {
            if (boxed.width != area.width || boxed.capacity < needed) {
                boxed.capacity = needed;
                boxed.bytes.resize((std::size_t)needed * lineBytes);
            }
            boxed.left = area.left;
            boxed.width = area.width;
            boxed.low = low;
            boxed.high = low - 1;
        }
        for (int line = std::max(boxed.high + 1, low); line <= high; line++) {
            if (averageBox(in, area, line, box, scratch, boxedLine(line))) {
                boxed.high = -1;  // the ring is no longer whole
                return -1;
            }
        }
        boxed.low = std::max(boxed.low, high - boxed.capacity + 1);
        boxed.high = std::max(boxed.high, high);
    } else {
        VipsRect need{area.left, low, area.width, high - low + 1};
        if (vips_region_prepare(in, &need)) return -1;
    }
    const auto lineAt = [&](int line) -> const std::uint8_t* {
        line = std::clamp(line, 0, last);  // the edge lines repeat
        return box > 1 ? boxedLine(line) : VIPS_REGION_ADDR(in, area.left, line);
    };

    scratch.lines.resize(taps);
    for (int y = 0; y < area.height; y++) {
        for (int t = 0; t < taps; t++) scratch.lines[t] = lineAt(scratch.firstTaps[y] + t);
        reduceLine(scratch.lines.data(), axis.weights6(scratch.phases[y]), taps,
                   VIPS_REGION_ADDR(out, area.left, area.top + y), lineBytes);
    }
    return 0;
}

}  // namespace voveriz::resample
