// Compiled once per instruction set by Highway's foreach_target; HWY_DYNAMIC_DISPATCH picks one
// at run time.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/pipeline/YcbcrToRgb.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep

#include <hwy/highway.h>

#include "engine/pipeline/YcbcrToRgb.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

HWY_BEFORE_NAMESPACE();
namespace voveriz::ycbcr {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

// libjpeg's arithmetic (jdcolor.c): 16 fractional bits, rounded where it rounds.
constexpr std::int32_t kHalf = 1 << 15;
constexpr std::int32_t kCrToRed = 91881;     // 1.40200
constexpr std::int32_t kCbToBlue = 116130;   // 1.77200
constexpr std::int32_t kCbToGreen = -22554;  // -0.34414
constexpr std::int32_t kCrToGreen = -46802;  // -0.71414

inline std::uint8_t clampedByte(std::int32_t v)
{
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

// count pixels of interleaved Y, Cb, Cr into interleaved R, G, B.
void RowToRgb(const std::uint8_t* in, std::uint8_t* out, std::size_t count)
{
    const hn::ScalableTag<std::int32_t> d32;
    const hn::Rebind<std::uint8_t, decltype(d32)> d8;
    const std::size_t n = hn::Lanes(d32);
    const auto centre = hn::Set(d32, 128);
    const auto half = hn::Set(d32, kHalf);
    std::size_t x = 0;
    for (; x + n <= count; x += n) {
        hn::Vec<decltype(d8)> y8, cb8, cr8;
        hn::LoadInterleaved3(d8, in + 3 * x, y8, cb8, cr8);
        const auto y = hn::PromoteTo(d32, y8);
        const auto cb = hn::Sub(hn::PromoteTo(d32, cb8), centre);
        const auto cr = hn::Sub(hn::PromoteTo(d32, cr8), centre);
        const auto r = hn::Add(y, hn::ShiftRight<16>(hn::Add(hn::Mul(hn::Set(d32, kCrToRed), cr), half)));
        const auto g = hn::Add(y, hn::ShiftRight<16>(hn::Add(hn::Add(hn::Mul(hn::Set(d32, kCbToGreen), cb),
                                                                      hn::Mul(hn::Set(d32, kCrToGreen), cr)),
                                                             half)));
        const auto b = hn::Add(y, hn::ShiftRight<16>(hn::Add(hn::Mul(hn::Set(d32, kCbToBlue), cb), half)));
        hn::StoreInterleaved3(hn::DemoteTo(d8, r), hn::DemoteTo(d8, g), hn::DemoteTo(d8, b), d8, out + 3 * x);
    }
    for (; x < count; ++x) {
        const std::int32_t y = in[3 * x];
        const std::int32_t cb = in[3 * x + 1] - 128;
        const std::int32_t cr = in[3 * x + 2] - 128;
        out[3 * x] = clampedByte(y + ((kCrToRed * cr + kHalf) >> 16));
        out[3 * x + 1] = clampedByte(y + ((kCbToGreen * cb + kCrToGreen * cr + kHalf) >> 16));
        out[3 * x + 2] = clampedByte(y + ((kCbToBlue * cb + kHalf) >> 16));
    }
}

}  // namespace HWY_NAMESPACE
}  // namespace voveriz::ycbcr
HWY_AFTER_NAMESPACE();

#if HWY_ONCE

namespace voveriz {

namespace ycbcr {
HWY_EXPORT(RowToRgb);
}  // namespace ycbcr

using vips::VError;
using vips::VImage;

namespace {

int generateRgb(VipsRegion* out, void* sequence, void*, void*, gboolean*)
{
    auto* in = static_cast<VipsRegion*>(sequence);
    const VipsRect& r = out->valid;
    if (vips_region_prepare(in, &r) != 0) return -1;
    for (int y = r.top; y < r.top + r.height; ++y) {
        HWY_DYNAMIC_DISPATCH(ycbcr::RowToRgb)(reinterpret_cast<const std::uint8_t*>(VIPS_REGION_ADDR(in, r.left, y)),
                                              reinterpret_cast<std::uint8_t*>(VIPS_REGION_ADDR(out, r.left, y)),
                                              static_cast<std::size_t>(r.width));
    }
    return 0;
}

}  // namespace

VImage ycbcrToRgb(const VImage& in)
{
    if (in.bands() != 3 || in.format() != VIPS_FORMAT_UCHAR || in.coding() != VIPS_CODING_NONE) {
        vips_error("voveriz_ycbcr", "%s", "expects 3 bands of 8 bits");
        throw VError();
    }
    VImage image(vips_image_new());
    VipsImage* out = image.get_image();
    VipsImage* source = in.get_image();
    VipsImage* fieldsFrom[] = {source, nullptr};
    if (vips_image_pipeline_array(out, VIPS_DEMAND_STYLE_THINSTRIP, fieldsFrom) != 0) throw VError();
    out->Type = VIPS_INTERPRETATION_sRGB;
    // The input lives as long as the output reads it.
    g_object_ref(source);
    vips_object_local(out, source);
    if (vips_image_generate(out, vips_start_one, generateRgb, vips_stop_one, source, nullptr) != 0) throw VError();
    return image;
}

}  // namespace voveriz

#endif  // HWY_ONCE
