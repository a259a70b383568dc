// Compiled once per instruction set by Highway's foreach_target; HWY_DYNAMIC_DISPATCH picks one
// at run time.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/resample/ReduceKernels.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep

#include <hwy/highway.h>

#include "engine/resample/ReduceKernels.h"

#include <algorithm>
#include <cstring>

HWY_BEFORE_NAMESPACE();
namespace voveriz::resample {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

// One byte of reduceLine(), for the bytes past the last whole vector.
inline std::uint8_t reduceLineByte(const std::uint8_t* const* lines, const std::int16_t* weights, int taps,
                                   std::size_t x)
{
    int sum = 32;
    for (int t = 0; t < taps; t++) {
        const auto product = static_cast<std::int16_t>(static_cast<std::uint16_t>(lines[t][x] * weights[t]));
        sum = std::clamp(sum + product, -32768, 32767);
    }
    return static_cast<std::uint8_t>(std::clamp(sum >> 6, 0, 255));
}

void ReduceLine(const std::uint8_t* const* lines, const std::int16_t* weights, int taps, std::uint8_t* out,
                std::size_t count)
{
    const hn::ScalableTag<std::int16_t> d16;
    const hn::Rebind<std::uint8_t, decltype(d16)> d8;
    const std::size_t n = hn::Lanes(d16);
    const auto start = hn::Set(d16, 32);
    std::size_t x = 0;
    // Two vectors at a time: each sum is a chain of dependent adds, two chains overlap. With the
    // loop below alone, the vertical pass of 4000x3000 to 1080x810 (23 taps) takes 1.15x as long
    // and that of 5120x2880 to 1080x608 (15 taps) 1.04x (AVX-512, 2-core; 1.38x and 1.05x with AVX2).
    for (; x + 2 * n <= count; x += 2 * n) {
        auto sum0 = start;
        auto sum1 = start;
        for (int t = 0; t < taps; t++) {
            const auto weight = hn::Set(d16, weights[t]);
            sum0 = hn::SaturatedAdd(sum0, hn::PromoteTo(d16, hn::LoadU(d8, lines[t] + x)) * weight);
            sum1 = hn::SaturatedAdd(sum1, hn::PromoteTo(d16, hn::LoadU(d8, lines[t] + x + n)) * weight);
        }
        hn::StoreU(hn::DemoteTo(d8, hn::ShiftRight<6>(sum0)), d8, out + x);
        hn::StoreU(hn::DemoteTo(d8, hn::ShiftRight<6>(sum1)), d8, out + x + n);
    }
    for (; x + n <= count; x += n) {
        auto sum = start;
        for (int t = 0; t < taps; t++) {
            sum = hn::SaturatedAdd(sum, hn::PromoteTo(d16, hn::LoadU(d8, lines[t] + x)) * hn::Set(d16, weights[t]));
        }
        hn::StoreU(hn::DemoteTo(d8, hn::ShiftRight<6>(sum)), d8, out + x);
    }
    for (; x < count; x++) out[x] = reduceLineByte(lines, weights, taps, x);
}

void AverageLines(const std::uint8_t* const* lines, int boxLines, std::uint8_t* out, std::size_t count)
{
    const hn::ScalableTag<std::int32_t> d32;
    const hn::Rebind<std::uint8_t, decltype(d32)> d8;
    const hn::Rebind<float, decltype(d32)> df;
    const std::size_t n = hn::Lanes(d32);
    std::size_t x = 0;
    // A float quotient of sums below 2^24 by at most 65536 truncates to the integer quotient:
    // the nearest float to q + (f - 1) / f is below q + 1 while 1 / f is above half a float step.
    if (boxLines <= 65536) {
        const auto half = hn::Set(d32, boxLines / 2);
        const auto divisor = hn::Set(df, static_cast<float>(boxLines));
        for (; x + n <= count; x += n) {
            auto sum = half;
            for (int l = 0; l < boxLines; l++) sum = sum + hn::PromoteTo(d32, hn::LoadU(d8, lines[l] + x));
            const auto quotient = hn::ConvertTo(d32, hn::Div(hn::ConvertTo(df, sum), divisor));
            hn::StoreU(hn::DemoteTo(d8, quotient), d8, out + x);
        }
    }
    for (; x < count; x++) {
        std::uint32_t sum = 0;
        for (int l = 0; l < boxLines; l++) sum += lines[l][x];
        out[x] = static_cast<std::uint8_t>((sum + boxLines / 2) / boxLines);
    }
}

void AveragePlane(const std::uint8_t* in, int box, std::uint8_t* out, std::size_t count)
{
    const hn::ScalableTag<std::int32_t> d32;
    const hn::Rebind<std::uint8_t, decltype(d32)> d8;
    const hn::Rebind<float, decltype(d32)> df;
    const std::size_t n = hn::Lanes(d32);
    const auto half = hn::Set(d32, box / 2);
    const auto divisor = hn::Set(df, static_cast<float>(box));
    // Exact as in AverageLines; the boxes of 2, 3 and 4 that a thumbnail meets are split apart
    // with interleaved loads. With the plain loop below alone, the horizontal pass to 1080 wide
    // takes 2.0x as long from 5120 (box 2), 2.0x from 8000 (box 3) and 1.8x from 9000 (box 4)
    // (AVX-512, 2-core; 2.1x, 1.9x and 1.6x with AVX2).
    const auto finish = [&](hn::Vec<decltype(d32)> sum, std::uint8_t* to) {
        hn::StoreU(hn::DemoteTo(d8, hn::ConvertTo(d32, hn::Div(hn::ConvertTo(df, sum), divisor))), d8, to);
    };
    std::size_t i = 0;
    if (box == 2) {
        for (; i + n <= count; i += n) {
            hn::Vec<decltype(d8)> v0, v1;
            hn::LoadInterleaved2(d8, in + 2 * i, v0, v1);
            finish(half + hn::PromoteTo(d32, v0) + hn::PromoteTo(d32, v1), out + i);
        }
    } else if (box == 3) {
        for (; i + n <= count; i += n) {
            hn::Vec<decltype(d8)> v0, v1, v2;
            hn::LoadInterleaved3(d8, in + 3 * i, v0, v1, v2);
            finish(half + hn::PromoteTo(d32, v0) + hn::PromoteTo(d32, v1) + hn::PromoteTo(d32, v2), out + i);
        }
    } else if (box == 4) {
        for (; i + n <= count; i += n) {
            hn::Vec<decltype(d8)> v0, v1, v2, v3;
            hn::LoadInterleaved4(d8, in + 4 * i, v0, v1, v2, v3);
            finish(half + hn::PromoteTo(d32, v0) + hn::PromoteTo(d32, v1) + hn::PromoteTo(d32, v2) +
                       hn::PromoteTo(d32, v3),
                   out + i);
        }
    }
    for (; i < count; i++) {
        std::uint32_t sum = 0;
        for (int j = 0; j < box; j++) sum += in[i * box + j];
        out[i] = static_cast<std::uint8_t>((sum + box / 2) / box);
    }
}

// Lane i of the result is the sum of the lanes of sums[i]; sums has one vector per lane.
template <class D, class V>
HWY_INLINE V sumEach(D d, V* sums)
{
#if HWY_TARGET == HWY_SCALAR
    (void)d;  // one lane
#else
    for (std::size_t width = hn::MaxLanes(d); width > 1; width /= 2) {
        for (std::size_t i = 0; i < width / 2; i++) {
            sums[i] = hn::ConcatEven(d, sums[2 * i + 1], sums[2 * i]) + hn::ConcatOdd(d, sums[2 * i + 1], sums[2 * i]);
        }
    }
#endif
    return sums[0];
}

// ReduceRow() for weights of kChunks vectors (0: `chunks`, known at run time only).
template <std::size_t kChunks>
void reduceRowIn(const std::uint8_t* const* planes, int bands, const std::int32_t* starts,
                 const std::int16_t* const* weights, std::size_t chunks, std::size_t width, std::uint8_t* out)
{
    const hn::ScalableTag<std::int16_t> d16;
    const hn::Rebind<std::uint8_t, decltype(d16)> d8;
    const hn::Repartition<std::int32_t, decltype(d16)> d32;
    const hn::Rebind<std::uint8_t, decltype(d32)> d8sums;
    constexpr std::size_t lanes = hn::MaxLanes(decltype(d32)());
    HWY_DASSERT(hn::Lanes(d32) == lanes);
    const std::size_t n = hn::Lanes(d16);
    if (kChunks) chunks = kChunks;
    const auto rounding = hn::Set(d32, 2048);

    hn::Vec<decltype(d32)> sums[lanes];
    std::size_t filled = 0;
    std::uint8_t* next = out;
    const auto finish = [&](std::uint8_t* to) {
        const auto total = sumEach(d32, sums);
        hn::StoreU(hn::DemoteTo(d8sums, hn::ShiftRight<12>(total + rounding)), d8sums, to);
    };
    for (std::size_t x = 0; x < width; x++) {
        const std::int16_t* w = weights[x];
        for (int b = 0; b < bands; b++) {
            const std::uint8_t* p = planes[b] + starts[x];
            auto sum0 = hn::Zero(d32);
            auto sum1 = hn::Zero(d32);
            for (std::size_t c = 0; c < chunks; c++) {
                const auto pixels = hn::PromoteTo(d16, hn::LoadU(d8, p + c * n));
                sum0 = hn::ReorderWidenMulAccumulate(d32, pixels, hn::LoadU(d16, w + c * n), sum0, sum1);
            }
            sums[filled++] = sum0 + sum1;
            if (filled == lanes) {
                finish(next);
                next += lanes;
                filled = 0;
            }
        }
    }
    if (filled > 0) {
        for (std::size_t i = filled; i < lanes; i++) sums[i] = hn::Zero(d32);
        std::uint8_t last[lanes];
        finish(last);
        std::memcpy(next, last, filled);
    }
}

void ReduceRow(const std::uint8_t* const* planes, int bands, const std::int32_t* starts,
               const std::int16_t* const* weights, int taps, int weightStride, std::size_t width, std::uint8_t* out)
{
    const std::size_t n = hn::Lanes(hn::ScalableTag<std::int16_t>());
    const std::size_t chunks = (static_cast<std::size_t>(taps) + n - 1) / n;
    HWY_DASSERT(chunks * n <= static_cast<std::size_t>(weightStride));
    (void)weightStride;
    // The taps of a gap-2 reduce (at most 25) fill one to four vectors but on plain code. With the
    // count known at run time only, the horizontal pass of 4000x3000 to 1080x810 takes 1.29x as
    // long and that of 5120x2880 to 1080x608 1.18x (AVX-512, 2-core; 1.29x and 1.14x with AVX2).
    switch (chunks) {
    case 1: return reduceRowIn<1>(planes, bands, starts, weights, chunks, width, out);
    case 2: return reduceRowIn<2>(planes, bands, starts, weights, chunks, width, out);
    case 3: return reduceRowIn<3>(planes, bands, starts, weights, chunks, width, out);
    case 4: return reduceRowIn<4>(planes, bands, starts, weights, chunks, width, out);
    default: return reduceRowIn<0>(planes, bands, starts, weights, chunks, width, out);
    }
}

void SplitBands(const std::uint8_t* in, int bands, std::size_t pixels, std::uint8_t* const* planes)
{
    const hn::ScalableTag<std::uint8_t> d;
    const std::size_t n = hn::Lanes(d);
    std::size_t x = 0;
    if (bands == 1) {
        std::memcpy(planes[0], in, pixels);
        return;
    }
    if (bands == 2) {
        for (; x + n <= pixels; x += n) {
            hn::Vec<decltype(d)> v0, v1;
            hn::LoadInterleaved2(d, in + 2 * x, v0, v1);
            hn::StoreU(v0, d, planes[0] + x);
            hn::StoreU(v1, d, planes[1] + x);
        }
    } else if (bands == 3) {
        for (; x + n <= pixels; x += n) {
            hn::Vec<decltype(d)> v0, v1, v2;
            hn::LoadInterleaved3(d, in + 3 * x, v0, v1, v2);
            hn::StoreU(v0, d, planes[0] + x);
            hn::StoreU(v1, d, planes[1] + x);
            hn::StoreU(v2, d, planes[2] + x);
        }
    } else if (bands == 4) {
        for (; x + n <= pixels; x += n) {
            hn::Vec<decltype(d)> v0, v1, v2, v3;
            hn::LoadInterleaved4(d, in + 4 * x, v0, v1, v2, v3);
            hn::StoreU(v0, d, planes[0] + x);
            hn::StoreU(v1, d, planes[1] + x);
            hn::StoreU(v2, d, planes[2] + x);
            hn::StoreU(v3, d, planes[3] + x);
        }
    }
    for (; x < pixels; x++) {
        for (int b = 0; b < bands; b++) planes[b][x] = in[x * bands + b];
    }
}

const char* KernelTarget()
{
    return hwy::TargetName(HWY_TARGET);
}

}  // namespace HWY_NAMESPACE
}  // namespace voveriz::resample
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace voveriz::resample {

HWY_EXPORT(ReduceLine);
HWY_EXPORT(AverageLines);
HWY_EXPORT(ReduceRow);
HWY_EXPORT(AveragePlane);
HWY_EXPORT(SplitBands);
HWY_EXPORT(KernelTarget);

void reduceLine(const std::uint8_t* const* lines, const std::int16_t* weights, int taps, std::uint8_t* out,
                std::size_t count)
{
    HWY_DYNAMIC_DISPATCH(ReduceLine)(lines, weights, taps, out, count);
}

void averageLines(const std::uint8_t* const* lines, int boxLines, std::uint8_t* out, std::size_t count)
{
    HWY_DYNAMIC_DISPATCH(AverageLines)(lines, boxLines, out, count);
}

void reduceRow(const std::uint8_t* const* planes, int bands, const std::int32_t* starts,
               const std::int16_t* const* weights, int taps, int weightStride, std::size_t width, std::uint8_t* out)
{
    HWY_DYNAMIC_DISPATCH(ReduceRow)(planes, bands, starts, weights, taps, weightStride, width, out);
}

void averagePlane(const std::uint8_t* in, int box, std::uint8_t* out, std::size_t count)
{
    HWY_DYNAMIC_DISPATCH(AveragePlane)(in, box, out, count);
}

void splitBands(const std::uint8_t* in, int bands, std::size_t pixels, std::uint8_t* const* planes)
{
    HWY_DYNAMIC_DISPATCH(SplitBands)(in, bands, pixels, planes);
}

const char* reduceKernelTarget()
{
    return HWY_DYNAMIC_DISPATCH(KernelTarget)();
}

}  // namespace voveriz::resample
#endif  // HWY_ONCE
