#pragma once

#include <cstddef>
#include <cstdint>

namespace voveriz {

// count samples of each plane into count pixels of interleaved bands: a0 b0 a1 b1 ..., or
// a0 b0 c0 a1 b1 c1 .... SIMD through Highway, chosen at run time.
void interleavePlanes(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* out, std::size_t count);
void interleavePlanes(const std::uint8_t* a, const std::uint8_t* b, const std::uint8_t* c, std::uint8_t* out,
                      std::size_t count);

}  // namespace voveriz
