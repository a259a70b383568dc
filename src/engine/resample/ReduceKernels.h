#pragma once

#include <cstddef>
#include <cstdint>

// The pixel loops of the Lanczos3 reduce, in SIMD (Highway) for the best instruction set the CPU
// has, chosen when first called: AVX-512, AVX2, SSE4, SSSE3, or plain code on any x86-64. Every
// set gives the same bytes. The arithmetic is libvips 8.14's, step for step.
namespace voveriz::resample {

// One output line of the vertical pass, as libvips's vector code makes it for 8-bit images: for
// each of `count` bytes, a 16-bit sum from 32, to which each of the `taps` lines adds its byte
// times its 6-bit weight (16-bit product, saturating add), shifted right by 6 and saturated to
// 0..255.
void reduceLine(const std::uint8_t* const* lines, const std::int16_t* weights, int taps, std::uint8_t* out,
                std::size_t count);

// One line of a box average over `boxLines` lines: (sum + boxLines / 2) / boxLines for each of
// `count` bytes, as libvips's shrinkv makes it.
void averageLines(const std::uint8_t* const* lines, int boxLines, std::uint8_t* out, std::size_t count);

// One output row of the horizontal pass, as libvips's reduceh makes it for 8-bit images: output
// pixel x, band b is (sum + 2048) >> 12 saturated to 0..255, the sum running over
// weights[x][0..taps) times planes[b][starts[x] + 0..taps). `planes` hold one band each and are
// readable for weightStride bytes past every start; weights[x] has weightStride entries, zero
// past taps.
void reduceRow(const std::uint8_t* const* planes, int bands, const std::int32_t* starts,
               const std::int16_t* const* weights, int taps, int weightStride, std::size_t width,
               std::uint8_t* out);

// One band of a row, box-averaged: out[i] = (in[i * box] + ... + in[i * box + box - 1] + box / 2) / box
// for `count` outputs, as libvips's shrinkh makes them.
void averagePlane(const std::uint8_t* in, int box, std::uint8_t* out, std::size_t count);

// Splits `pixels` interleaved pixels of `bands` bands into one plane per band.
void splitBands(const std::uint8_t* in, int bands, std::size_t pixels, std::uint8_t* const* planes);

// The instruction set the calls above use now, e.g. "AVX3" or "EMU128" (plain code).
const char* reduceKernelTarget();

}  // namespace voveriz::resample
