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

inline void ScalarPixel(std::int32_t y, std::int32_t cb, std::int32_t cr, std::uint8_t* out)
{
    cb -= 128;
    cr -= 128;
    out[0] = clampedByte(y + ((kCrToRed * cr + kHalf) >> 16));
    out[1] = clampedByte(y + ((kCbToGreen * cb + kCrToGreen * cr + kHalf) >> 16));
    out[2] = clampedByte(y + ((kCbToBlue * cb + kHalf) >> 16));
}

// Lanes of Y, Cb and Cr into interleaved R, G, B at out.
template <class D8>
void StoreRgb(D8 d8, hn::Vec<D8> y8, hn::Vec<D8> cb8, hn::Vec<D8> cr8, std::uint8_t* out)
{
    const hn::Rebind<std::int32_t, D8> d32;
    const auto centre = hn::Set(d32, 128);
    const auto half = hn::Set(d32, kHalf);
    const auto y = hn::PromoteTo(d32, y8);
    const auto cb = hn::Sub(hn::PromoteTo(d32, cb8), centre);
    const auto cr = hn::Sub(hn::PromoteTo(d32, cr8), centre);
    const auto r = hn::Add(y, hn::ShiftRight<16>(hn::Add(hn::Mul(hn::Set(d32, kCrToRed), cr), half)));
    const auto g = hn::Add(y, hn::ShiftRight<16>(hn::Add(
                                  hn::Add(hn::Mul(hn::Set(d32, kCbToGreen), cb), hn::Mul(hn::Set(d32, kCrToGreen), cr)),
                                  half)));
    const auto b = hn::Add(y, hn::ShiftRight<16>(hn::Add(hn::Mul(hn::Set(d32, kCbToBlue), cb), half)));
    hn::StoreInterleaved3(hn::DemoteTo(d8, r), hn::DemoteTo(d8, g), hn::DemoteTo(d8, b), d8, out);
}

// count pixels of interleaved Y, Cb, Cr into interleaved R, G, B.
void RowToRgb(const std::uint8_t* in, std::uint8_t* out, std::size_t count)
{
    const hn::Rebind<std::uint8_t, hn::ScalableTag<std::int32_t>> d8;
    const std::size_t n = hn::Lanes(d8);
    std::size_t x = 0;
    for (; x + n <= count; x += n) {
        hn::Vec<decltype(d8)> y8, cb8, cr8;
        hn::LoadInterleaved3(d8, in + 3 * x, y8, cb8, cr8);
        StoreRgb(d8, y8, cb8, cr8, out + 3 * x);
    }
    for (; x < count; ++x) ScalarPixel(in[3 * x], in[3 * x + 1], in[3 * x + 2], out + 3 * x);
}

// The same from Y and from interleaved Cb, Cr.
void PlanesToRgb(const std::uint8_t* luma, const std::uint8_t* chroma, std::uint8_t* out, std::size_t count)
{
    const hn::Rebind<std::uint8_t, hn::ScalableTag<std::int32_t>> d8;
    const std::size_t n = hn::Lanes(d8);
    std::size_t x = 0;
    for (; x + n <= count; x += n) {
        hn::Vec<decltype(d8)> cb8, cr8;
        hn::LoadInterleaved2(d8, chroma + 2 * x, cb8, cr8);
        StoreRgb(d8, hn::LoadU(d8, luma + x), cb8, cr8, out + 3 * x);
    }
    for (; x < count; ++x) ScalarPixel(luma[x], chroma[2 * x], chroma[2 * x + 1], out + 3 * x);
}

}  // namespace HWY_NAMESPACE
}  // namespace voveriz::ycbcr
HWY_AFTER_NAMESPACE();

#if HWY_ONCE

namespace voveriz {

namespace ycbcr {
HWY_EXPORT(RowToRgb);
HWY_EXPORT(PlanesToRgb);
}  // namespace ycbcr

using vips::VError;
using vips::VImage;

namespace {

int generateRgb(VipsRegion* out, void* sequence, void*, void*, gboolean*)
{
    auto** in = static_cast<VipsRegion**>(sequence);
    const VipsRect& r = out->valid;
    for (int i = 0; in[i] != nullptr; ++i) {
        if (vips_region_prepare(in[i], &r) != 0) return -1;
    }
    for (int y = r.top; y < r.top + r.height; ++y) {
        auto* to = reinterpret_cast<std::uint8_t*>(VIPS_REGION_ADDR(out, r.left, y));
        const auto* first = reinterpret_cast<const std::uint8_t*>(VIPS_REGION_ADDR(in[0], r.left, y));
        if (in[1] == nullptr) {
            HWY_DYNAMIC_DISPATCH(ycbcr::RowToRgb)(first, to, static_cast<std::size_t>(r.width));
        } else {
            const auto* chroma = reinterpret_cast<const std::uint8_t*>(VIPS_REGION_ADDR(in[1], r.left, y));
            HWY_DYNAMIC_DISPATCH(ycbcr::PlanesToRgb)(first, chroma, to, static_cast<std::size_t>(r.width));
        }
    }
    return 0;
}

bool eightBits(const VImage& image, int bands)
{
    return image.bands() == bands && image.format() == VIPS_FORMAT_UCHAR && image.coding() == VIPS_CODING_NONE;
}

// The output of inputs (null-terminated, the first giving the header), made row by row.
VImage convertedImage(VipsImage** inputs)
{
    VImage image(vips_image_new());
    VipsImage* out = image.get_image();
    if (vips_image_pipeline_array(out, VIPS_DEMAND_STYLE_THINSTRIP, inputs) != 0) throw VError();
    out->Bands = 3;
    out->Type = VIPS_INTERPRETATION_sRGB;
    // The inputs live as long as the output reads them.
    auto** kept = reinterpret_cast<VipsImage**>(vips_object_local_array(VIPS_OBJECT(out), 3));
    for (int i = 0; inputs[i] != nullptr; ++i) kept[i] = static_cast<VipsImage*>(g_object_ref(inputs[i]));
    if (vips_image_generate(out, vips_start_many, generateRgb, vips_stop_many, kept, nullptr) != 0) throw VError();
    return image;
}

}  // namespace

VImage ycbcrToRgb(const VImage& in)
{
    if (!eightBits(in, 3)) {
        vips_error("voveriz_ycbcr", "%s", "expects 3 bands of 8 bits");
        throw VError();
    }
    VipsImage* inputs[] = {in.get_image(), nullptr};
    return convertedImage(inputs);
}

VImage ycbcrToRgb(const VImage& luma, const VImage& chroma)
{
    if (!eightBits(luma, 1) || !eightBits(chroma, 2) || luma.width() != chroma.width() ||
        luma.height() != chroma.height()) {
        vips_error("voveriz_ycbcr", "%s", "expects Y and Cb, Cr of 8 bits, the same size");
        throw VError();
    }
    VipsImage* inputs[] = {luma.get_image(), chroma.get_image(), nullptr};
    return convertedImage(inputs);
}

}  // namespace voveriz

#endif  // HWY_ONCE
