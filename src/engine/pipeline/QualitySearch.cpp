#include "engine/pipeline/QualitySearch.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace voveriz {

namespace {

// Where maxBytes falls between the sizes at lower and upper, on the logarithm of the size.
int interpolated(std::uint64_t maxBytes, int lower, double lowerBytes, int upper, double upperBytes)
{
    if (!(upperBytes > lowerBytes) || lowerBytes <= 0) return (lower + upper) / 2;
    const double share = std::log(maxBytes / lowerBytes) / std::log(upperBytes / lowerBytes);
    return lower + static_cast<int>(std::floor(share * (upper - lower)));
}

}  // namespace

BudgetFit highestQualityWithin(std::uint64_t maxBytes, int highest, const std::function<std::string(int)>& encodeAt)
{
    BudgetFit fit;
    const auto settle = [&](std::string bytes, int quality) {
        fit.neededBytes = bytes.size();
        fit.quality = quality;
        if (bytes.size() <= maxBytes) fit.bytes = std::move(bytes);
        return fit;
    };
    const auto encode = [&](int quality) {
        ++fit.encodes;
        return encodeAt(quality);
    };

    std::string upperBytes = encode(highest);
    const int lowest = std::min(highest, kLowestBudgetQuality);
    if (upperBytes.size() <= maxBytes || lowest == highest) return settle(std::move(upperBytes), highest);
    std::string lowerBytes = encode(lowest);
    if (lowerBytes.size() > maxBytes) return settle(std::move(lowerBytes), lowest);

    // lower fits and upper does not. Each guess keeps a fifth of the range from either end: a
    // file's size jumps where the encoder's tables change, and an interpolation alone can creep.
    int lower = lowest;
    int upper = highest;
    double upperSize = static_cast<double>(upperBytes.size());
    while (upper - lower > 1 && fit.encodes < kMostBudgetEncodes) {
        const int margin = std::max(1, (upper - lower) / 5);
        const int guess = interpolated(maxBytes, lower, static_cast<double>(lowerBytes.size()), upper, upperSize);
        const int quality = std::clamp(guess, lower + margin, upper - margin);
        std::string bytes = encode(quality);
        if (bytes.size() <= maxBytes) {
            lower = quality;
            lowerBytes = std::move(bytes);
        } else {
            upper = quality;
            upperSize = static_cast<double>(bytes.size());
        }
    }
    return settle(std::move(lowerBytes), lower);
}

}  // namespace voveriz
