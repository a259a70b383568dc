#pragma once

#include <cstdint>
#include <vector>

namespace voveriz::resample {

// One axis of libvips 8.14's Lanczos3 reduce with a gap of 2 (reducev or reduceh), worked out as
// libvips works it out, double for double, so that the same taps and weights come out:
//   - the output size is (int)(in / shrink + 0.5);
//   - when floor(in / out / 2) >= 2, that integer factor is first taken out by a box average
//     (shrinkv / shrinkh with ceil sizing: the box image has ceil(in / box) lines, the last box
//     repeating the last line), and the Lanczos3 step reduces by what is left;
//   - the Lanczos3 step has 2 * rint(3 * shrink) + 1 taps, a phase table for every 1/64 of a line,
//     and places output i at (i + 0.5) * shrink - 0.5 - offset, with offset = (1 + extra) / 2 - 1,
//     extra = out * shrink - in (both divided by the box factor where there is one).
// Every double in here is computed without fused multiply-adds, as Debian's libvips is built.
class ReduceAxis {
public:
    static constexpr int kPhases = 65;  // 0/64 to 64/64 of a line
    static constexpr int kTapAlign = 32;  // phase tables are zero-padded to a multiple of this

    // inSize lines reduced by shrink (>= 1). Throws std::invalid_argument with libvips's reason
    // when libvips would refuse: a shrink below 1, an image shrunk to nothing, too many taps.
    // A smoothing s > 0 convolves each phase's weights with [s, 1 - 2s, s] first, two taps more,
    // where there is a Lanczos3 step and no box (a subsampled JPEG chroma plane: see
    // JpegPlaneSteps.cpp); 0 is libvips's reduce.
    ReduceAxis(int inSize, double shrink, double smoothing = 0.0);

    int inSize() const { return m_inSize; }
    int outSize() const { return m_outSize; }
    int box() const { return m_box; }  // 1: no box average
    int boxedSize() const { return m_boxedSize; }  // lines after the box average
    bool reduces() const { return m_taps > 0; }  // false: the box average is the whole step
    int taps() const { return m_taps; }
    int paddedTaps() const { return m_paddedTaps; }

    // Weights of phase 0..64 for the horizontal pass: (int)(w * 4096), paddedTaps() of them.
    const std::int16_t* weights12(int phase) const { return &m_weights12[phase * m_paddedTaps]; }
    // Weights for the vertical pass of 8-bit images, as libvips's vector code takes them: six
    // fractional bits, rounded so that each table sums to 64 (vips_vector_to_fixed_point).
    const std::int16_t* weights6(int phase) const { return &m_weights6[phase * m_paddedTaps]; }

    // The first tap (a boxed line, before the edges are repeated: it can lie outside the image)
    // and the phase of `count` outputs from `start`, where `start` is the first output of the
    // region being made. libvips adds shrink to the position from one output to the next within a
    // region, so this is what a region starting at `start` gets.
    void place(int start, int count, int* firstTap, int* phase) const;

private:
    int m_inSize;
    int m_outSize;
    int m_box = 1;
    int m_boxedSize;
    double m_shrink;  // what is left after the box
    double m_offset = 0.0;
    int m_taps = 0;
    int m_margin = 0;  // taps before the centre one
    int m_paddedTaps = 0;
    std::vector<std::int16_t> m_weights12;
    std::vector<std::int16_t> m_weights6;
};

}  // namespace voveriz::resample
