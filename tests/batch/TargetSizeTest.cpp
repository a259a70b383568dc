#include "batch/TargetSize.h"

#include <gtest/gtest.h>

#include <optional>

namespace voveriz {
namespace {

TEST(TargetSize, FollowsTheTypedNumberRule)
{
    struct Case {
        const char* text;
        std::optional<std::int64_t> expected;
    };
    const Case cases[] = {
        {"1200", 1200},
        {"  1200\t", 1200},
        {"+1200", 1200},
        {"01200", 1200},
        {"\u00a0\u3000640\u2009", 640},  // no-break, ideographic and thin spaces are trimmed
        {"9223372036854775807", 9223372036854775807},
        {"1", 1},
        {"0", std::nullopt},
        {"-0", std::nullopt},
        {"+0", std::nullopt},
        {"-300", std::nullopt},
        {"-9223372036854775808", std::nullopt},
        {"9223372036854775808", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"12.5", std::nullopt},
        {"1e3", std::nullopt},
        {"800px", std::nullopt},
        {"8 00", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"+", std::nullopt},
        {"++5", std::nullopt},
        {"+-5", std::nullopt},
        {"640\n", std::nullopt},    // line breaks are not trimmed
        {"\n640", std::nullopt},
        {"640\u2028", std::nullopt},  // nor the Unicode line separator
        {"\u0666\u0664\u0660", std::nullopt},  // digits other than ASCII
        {"abc", std::nullopt},
        {"\xff""12", std::nullopt},  // a stray byte that is not UTF-8
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseTargetSize(c.text), c.expected) << "text: \"" << c.text << "\"";
    }
}

}  // namespace
}  // namespace voveriz
