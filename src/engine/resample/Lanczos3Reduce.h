#pragma once

#include <vips/vips8>

#include <cstdint>

namespace voveriz {

// Whether lanczos3Reduce() takes this image: 8 bits a band, 1 to 4 bands, not coded (LabQ, RAD).
bool lanczos3ReduceApplies(const vips::VImage& in);

// Equals in.reducev(vshrink, kernel lanczos3, gap 2).reduceh(hshrink, kernel lanczos3, gap 2) of
// libvips 8.14 with its vector code on, byte for byte, in any pipeline: the step libvips's resize
// runs to make an image smaller with Lanczos3. A shrink of 1 leaves that axis as it is. Both passes
// are vector code of our own (AVX-512, AVX2, SSE4, SSSE3, or plain on any x86-64), made region by
// region as the pipeline asks, so it streams like libvips's own. The header is the input's, with
// the new size (libvips leaves Xres and Yres to its callers). Needs lanczos3ReduceApplies(in) and
// shrinks of at least 1; throws vips::VError otherwise, or when an axis would shrink to nothing.
vips::VImage lanczos3Reduce(const vips::VImage& in, double hshrink, double vshrink);

// The same with each axis smoothed first by [s, 1 - 2s, s] within the reduce's own weights (an
// axis with a box pre-shrink, or a shrink of 1, is not smoothed): not libvips's bytes.
vips::VImage lanczos3Reduce(const vips::VImage& in, double hshrink, double vshrink, double hsmoothing,
                            double vsmoothing);

// How many images lanczos3Reduce has made in this process. On libvips 8.14 its bytes are
// libvips's own, so this count is how a test sees that the engine takes it.
std::uint64_t lanczos3ReducesMade();

}  // namespace voveriz
