#include "engine/resample/ReduceAxis.h"

#include <vips/vips.h>

#include <algorithm>
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

ReduceAxis::ReduceAxis(int inSize, double shrink, double smoothing)
    : m_inSize(inSize), m_boxedSize(inSize), m_shrink(shrink)
{
    constexpr double gap = 2.0;
    if (!(shrink >= 1.0)) throw std::invalid_argument("reduce factor should be >= 1.0");
    if (inSize < 1) throw std::invalid_argument("image has shrunk to nothing");

    m_outSize = (int)((double)inSize / shrink + 0.5);
    if (m_outSize < 1) throw std::invalid_argument("image has shrunk to nothing");
    double extra = m_outSize * shrink - inSize;

    const double box = std::floor((double)inSize / m_outSize / gap);
    if (box > 1) {
        m_box = (int)box;
        m_boxedSize = (int)std::ceil((double)inSize / m_box);
        m_shrink /= m_box;
        extra /= m_box;
    }
    if (m_shrink == 1.0) return;

    const int lanczosTaps = (int)(2 * std::rint(3 * m_shrink) + 1);
    const bool smoothed = smoothing > 0.0 && m_box == 1;
    m_taps = smoothed ? lanczosTaps + 2 : lanczosTaps;
    if (m_taps > kMaxTaps) throw std::invalid_argument("reduce factor too large");
    m_margin = (int)std::ceil(m_taps / 2.0) - 1;
    m_offset = (1 + extra) / 2.0 - 1;

    m_paddedTaps = (m_taps + kTapAlign - 1) / kTapAlign * kTapAlign;
    m_weights12.assign((std::size_t)kPhases * m_paddedTaps, 0);
    m_weights6.assign((std::size_t)kPhases * m_paddedTaps, 0);
    std::vector<double> lanczos(lanczosTaps);
    std::vector<double> weights(m_taps);
    for (int phase = 0; phase < kPhases; phase++) {
        lanczos3Weights(lanczos.data(), lanczosTaps, m_shrink, (float)phase / (kPhases - 1));
        if (smoothed) {
            // The same centre: tap i of the Lanczos3 weights is tap i + 1 here.
            std::fill(weights.begin(), weights.end(), 0.0);
            for (int i = 0; i < lanczosTaps; i++) {
                weights[i] += smoothing * lanczos[i];
                weights[i + 1] += (1 - 2 * smoothing) * lanczos[i];
                weights[i + 2] += smoothing * lanczos[i];
            }
        } else {
            weights = lanczos;
        }
        std::int16_t* w12 = &m_weights12[phase * m_paddedTaps];
        for (int i = 0; i < m_taps; i++) w12[i] = (std::int16_t)(int)(weights[i] * 4096);
        toFixedPoint(weights.data(), &m_weights6[phase * m_paddedTaps], m_taps, 64);
    }
}

void ReduceAxis::place(int start, int count, int* firstTap, int* phase) const
{
    double x = (start + 0.5) * m_shrink - 0.5 - m_offset;
    for (int i = 0; i < count; i++) {
        const int whole = (int)x;
        const int sub = (int)(x * 64 * 2) & 127;  // 1/128 of a line, rounded to 1/64 below
        firstTap[i] = whole - m_margin;
        phase[i] = (sub + 1) >> 1;
        x += m_shrink;
    }
}

}  // namespace voveriz::resample
