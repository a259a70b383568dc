#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace voveriz {

// A byte budget never takes a lossy output below this quality: under it, photos show blocks.
inline constexpr int kLowestBudgetQuality = 30;
// The most encodes one output's search makes.
inline constexpr int kMostBudgetEncodes = 7;

struct BudgetFit {
    std::string bytes;  // the output at quality; empty when even the lowest did not fit
    int quality = 0;    // the quality found; when none fitted, the lowest tried
    std::uint64_t neededBytes = 0;  // the output's size at quality
    int encodes = 0;
};

// The highest quality, from highest down to kLowestBudgetQuality (or highest, if that is lower),
// whose output (encodeAt(quality), of one image held in memory) is at most maxBytes long.
// highest is tried first, then the lowest, then qualities between them, by where the budget falls
// between the sizes either side (a file's size grows about exponentially with its quality). At
// most kMostBudgetEncodes encodes; when they run out, the best that fitted is taken. On JPEG
// photos that is the highest that fits, or one to three steps below it where the size jumps.
// A size that does not grow with quality is still kept to the budget.
BudgetFit highestQualityWithin(std::uint64_t maxBytes, int highest, const std::function<std::string(int)>& encodeAt);

}  // namespace voveriz
