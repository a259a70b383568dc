// Compiled once per instruction set by Highway's foreach_target; HWY_DYNAMIC_DISPATCH picks one
// at run time.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/source/InterleavePlanes.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep

#include <hwy/highway.h>

#include "engine/source/InterleavePlanes.h"

HWY_BEFORE_NAMESPACE();
namespace voveriz::interleave {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

void TwoPlanes(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* out, std::size_t count)
{
    const hn::ScalableTag<std::uint8_t> d;
    const std::size_t n = hn::Lanes(d);
    std::size_t x = 0;
    for (; x + n <= count; x += n) hn::StoreInterleaved2(hn::LoadU(d, a + x), hn::LoadU(d, b + x), d, out + 2 * x);
    for (; x < count; ++x) {
        out[2 * x] = a[x];
        out[2 * x + 1] = b[x];
    }
}

void ThreePlanes(const std::uint8_t* a, const std::uint8_t* b, const std::uint8_t* c, std::uint8_t* out,
                 std::size_t count)
{
    const hn::ScalableTag<std::uint8_t> d;
    const std::size_t n = hn::Lanes(d);
    std::size_t x = 0;
    for (; x + n <= count; x += n) {
        hn::StoreInterleaved3(hn::LoadU(d, a + x), hn::LoadU(d, b + x), hn::LoadU(d, c + x), d, out + 3 * x);
    }
    for (; x < count; ++x) {
        out[3 * x] = a[x];
        out[3 * x + 1] = b[x];
        out[3 * x + 2] = c[x];
    }
}

}  // namespace HWY_NAMESPACE
}  // namespace voveriz::interleave
HWY_AFTER_NAMESPACE();

#if HWY_ONCE

namespace voveriz {

namespace interleave {
HWY_EXPORT(TwoPlanes);
HWY_EXPORT(ThreePlanes);
}  // namespace interleave

void interleavePlanes(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* out, std::size_t count)
{
    HWY_DYNAMIC_DISPATCH(interleave::TwoPlanes)(a, b, out, count);
}

void interleavePlanes(const std::uint8_t* a, const std::uint8_t* b, const std::uint8_t* c, std::uint8_t* out,
                      std::size_t count)
{
    HWY_DYNAMIC_DISPATCH(interleave::ThreePlanes)(a, b, c, out, count);
}

}  // namespace voveriz

#endif  // HWY_ONCE
