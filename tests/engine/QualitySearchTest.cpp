// The byte budget's search over qualities, against made-up encoders whose sizes are known.
#include "engine/pipeline/QualitySearch.h"
#include "engine/plan/ByteSize.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace voveriz;

namespace {

TEST(QualitySearch, TakesTheHighestQualityThatFitsInAFewEncodes)
{
    // About as JPEG photos grow, with a jump where the encoder's tables change.
    const auto smooth = [](int q) { return static_cast<std::size_t>(20000 * std::exp(q / 25.0)); };
    const auto jumpy = [&](int q) { return smooth(q) + (q >= 77 ? 60000 : 0); };
    const auto shrinking = [](int q) { return static_cast<std::size_t>(200000 - 1000 * q); };
    struct Row {
        const char* name;
        std::function<std::size_t(int)> size;
        std::uint64_t maxBytes;
        int highest;
        std::optional<int> quality;  // none: nothing fits
    };
    const std::vector<Row> rows = {
        { "fits at the highest", smooth, 10000000, 92, 92 },
        { "needs a lower quality", smooth, 200000, 92, 57 },
        { "just above the lowest", smooth, 67000, 92, 30 },
        { "below a jump", jumpy, 480000, 92, 76 },
        { "not even at 30", smooth, 50000, 92, std::nullopt },
        { "asked below 30", smooth, 100000, 20, 20 },
        { "asked below 30, too large", smooth, 10000, 20, std::nullopt },
        { "sizes that shrink with quality", shrinking, 150000, 92, 92 },
        { "sizes that shrink, none fits", shrinking, 100000, 92, std::nullopt },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BudgetFit fit = highestQualityWithin(
            row.maxBytes, row.highest, [&](int q) { return std::string(row.size(q), 'x'); });
        EXPECT_LE(fit.encodes, kMostBudgetEncodes);
        if (!row.quality) {
            EXPECT_TRUE(fit.bytes.empty());
            EXPECT_GT(fit.neededBytes, row.maxBytes);
            EXPECT_EQ(fit.neededBytes, row.size(fit.quality));
            continue;
        }
        EXPECT_EQ(fit.quality, *row.quality);
        EXPECT_EQ(fit.bytes.size(), row.size(fit.quality));
        EXPECT_LE(fit.bytes.size(), row.maxBytes);
    }
}

TEST(ByteSize, ReadsSizesAsPeopleWriteThemAndShowsThemRoundedUp)
{
    const std::vector<std::pair<const char*, std::optional<std::uint64_t>>> sizes = {
        { "500000", 500000 }, { "500k", 500000 }, { "500KB", 500000 }, { "2M", 2000000 }, { "1.5MB", 1500000 },
        { "512Ki", 524288 }, { "2MiB", 2097152 }, { "0", std::nullopt }, { "0.1", std::nullopt },
        { "-5k", std::nullopt }, { "5 k", std::nullopt }, { "5G", std::nullopt }, { "k", std::nullopt },
        { "1e9", std::nullopt }, { "inf", std::nullopt }, { "", std::nullopt },
    };
    for (const auto& [text, bytes] : sizes) EXPECT_EQ(parseByteSize(text), bytes) << text;
    const std::vector<std::pair<std::uint64_t, const char*>> texts = {
        { 999, "999 bytes" }, { 1000, "1 kB" }, { 150001, "151 kB" }, { 2000000, "2 MB" }, { 2000001, "2.1 MB" },
    };
    for (const auto& [bytes, text] : texts) EXPECT_EQ(byteSizeText(bytes), text) << bytes;
}

} // namespace
