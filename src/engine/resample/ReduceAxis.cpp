#include "engine/resample/ReduceAxis.h"

#include <vips/vips.h>

#include <cmath>
#include <stdexcept>

// This file is built with -ffp-contract=off (src/CMakeLists.txt): a fused multiply-add rounds once
// where libvips rounds twice, and a position or weight one bit off picks another tap or phase.

namespace voveriz::resample {

namespace {

constexpr int kMaxTaps = 2000;  // libvips's MAX_POINT

// libvips's calculate_coefficients_lanczos() with three lobes: the weights of `taps` lines around
// a centre x lines (0 to 1) past the middle tap, normalised to sum 1.
void lanczos3Weights(double* weights, int taps, double shrink, double x)
{
    constexpr int lobes = 3;
    const double half = x + taps / 2.0 - 1;
    double sum = 0;
    for (int i = 0; i < taps; i++) {
        const double xp = (i - half) / shrink;
        double l;
        if (xp == 0.0) {
            l = 1.0;
        } else if (xp < -lobes || xp > lobes) {
            l = 0.0;
        } else {
            l = (double)lobes * std::sin(VIPS_PI * xp) * std::sin(VIPS_PI * xp / (double)lobes) /
                (VIPS_PI * VIPS_PI * xp * xp);
        }
        weights[i] = l;
        sum += l;
    }
    for (int i = 0; i < taps; i++) weights[i] /= sum;
}

// libvips's vips_vector_to_fixed_point(): weights scaled to integers that sum to exactly
// rint(sum * scale), found by bisecting the scale, the rest spread over the first weights.
void toFixedPoint(const double* in, std::int16_t* out, int n, int scale)
{
    double fsum = 0.0;
    for (int i = 0; i < n; i++) fsum += in[i];
    const int target = (int)std::rint(fsum * scale);

    std::vector<int> fixed(n);
    double high = scale + (n + 1) / 2;
    double low = scale - (n + 1) / 2;
    int sum;
    do {
        const double guess = (high + low) / 2.0;
        for (int i = 0; i < n; i++) fixed[i] = (int)std::rint(in[i] * guess);
        sum = 0;
        for (int i = 0; i < n; i++) sum += fixed[i];
        if (sum == target) break;
        if (sum < target) low = guess;
        if (sum > target) high = guess;
    } while (high - low > 0.01);

    if (sum != target) {
        const int eachError = (target - sum) / n;
        const int extraError = (target - sum) % n;
        const int direction = extraError > 0 ? 1 : -1;
        const int elements = std::abs(extraError);
        for (int i = 0; i < n; i++) fixed[i] += eachError;
        for (int i = 0; i < elements; i++) fixed[i] += direction;
    }
    for (int i = 0; i < n; i++) out[i] = (std::int16_t)fixed[i];
}

}  // namespace

ReduceAxis::ReduceAxis(int inSize, double shrink) : inSize_(inSize), boxedSize_(inSize), shrink_(shrink)
{
    constexpr double gap = 2.0;
    if (!(shrink >= 1.0)) throw std::invalid_argument("reduce factor should be >= 1.0");
    if (inSize < 1) throw std::invalid_argument("image has shrunk to nothing");

    outSize_ = (int)((double)inSize / shrink + 0.5);
    if (outSize_ < 1) throw std::invalid_argument("image has shrunk to nothing");
    double extra = outSize_ * shrink - inSize;

    const double box = std::floor((double)inSize / outSize_ / gap);
    if (box > 1) {
        box_ = (int)box;
        boxedSize_ = (int)std::ceil((double)inSize / box_);
        shrink_ /= box_;
        extra /= box_;
    }
    if (shrink_ == 1.0) return;

    taps_ = (int)(2 * std::rint(3 * shrink_) + 1);
    if (taps_ > kMaxTaps) throw std::invalid_argument("reduce factor too large");
    margin_ = (int)std::ceil(taps_ / 2.0) - 1;
    offset_ = (1 + extra) / 2.0 - 1;

    paddedTaps_ = (taps_ + kTapAlign - 1) / kTapAlign * kTapAlign;
    weights12_.assign((std::size_t)kPhases * paddedTaps_, 0);
    weights6_.assign((std::size_t)kPhases * paddedTaps_, 0);
    std::vector<double> weights(taps_);
    for (int phase = 0; phase < kPhases; phase++) {
        lanczos3Weights(weights.data(), taps_, shrink_, (float)phase / (kPhases - 1));
        std::int16_t* w12 = &weights12_[phase * paddedTaps_];
        for (int i = 0; i < taps_; i++) w12[i] = (std::int16_t)(int)(weights[i] * 4096);
        toFixedPoint(weights.data(), &weights6_[phase * paddedTaps_], taps_, 64);
    }
}

void ReduceAxis::place(int start, int count, int* firstTap, int* phase) const
{
    double x = (start + 0.5) * shrink_ - 0.5 - offset_;
    for (int i = 0; i < count; i++) {
        const int whole = (int)x;
        const int sub = (int)(x * 64 * 2) & 127;  // 1/128 of a line, rounded to 1/64 below
        firstTap[i] = whole - margin_;
        phase[i] = (sub + 1) >> 1;
        x += shrink_;
    }
}

}  // namespace voveriz::resample
