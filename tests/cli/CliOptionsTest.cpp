#include "cli/CliOptions.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using voveriz::cli::parseArguments;
using voveriz::cli::ParsedArguments;
using Kind = ParsedArguments::Kind;
using voveriz::SizeMode;

namespace {

ParsedArguments parse(const std::vector<std::string_view>& arguments)
{
    return parseArguments(arguments);
}

struct RunRow {
    std::vector<std::string_view> arguments;
    SizeMode sizeMode;
    std::string targetText;
    std::optional<std::string> outputDir;
    unsigned jobs;  // 0: one per core
    std::vector<std::string> paths;
};

TEST(CliOptions, ReadsRunsWithTheSizeTextKeptAsTyped)
{
    const std::vector<RunRow> rows = {
        { { "--width", "1080", "--out", "out", "a.jpg" }, SizeMode::Width, "1080", "out", 0, { "a.jpg" } },
        { { "a.jpg", "--height", "500", "b.png", "--out", "/tmp/x y", "--jobs", "3", "c" }, SizeMode::Height, "500",
          "/tmp/x y", 3, { "a.jpg", "b.png", "c" } },
        { { "--width=640", "--out=out", "--jobs=2", "a.jpg" }, SizeMode::Width, "640", "out", 2, { "a.jpg" } },
        // Odd size texts are not usage errors: each file is checked with the window's rule.
        { { "--width", " 640\t", "--out", "o", "a" }, SizeMode::Width, " 640\t", "o", 0, { "a" } },
        { { "--width", "abc", "--out", "o", "a" }, SizeMode::Width, "abc", "o", 0, { "a" } },
        { { "--width", "0", "--out", "o", "a" }, SizeMode::Width, "0", "o", 0, { "a" } },
        { { "--height", "-300", "--out", "o", "a" }, SizeMode::Height, "-300", "o", 0, { "a" } },
        { { "--width", "", "--out", "o", "a" }, SizeMode::Width, "", "o", 0, { "a" } },
        { { "--width", "640\n", "--out", "o", "a" }, SizeMode::Width, "640\n", "o", 0, { "a" } },
        // No --out is not a usage error either: each file gets the folder line.
        { { "--width", "100", "a", "b" }, SizeMode::Width, "100", std::nullopt, 0, { "a", "b" } },
        // After "--" everything is a PATH; a lone "-" is a PATH too.
        { { "--width", "9", "--out", "o", "--", "--jobs", "-x.jpg" }, SizeMode::Width, "9", "o", 0, { "--jobs", "-x.jpg" } },
        { { "--width", "9", "--out", "o", "-" }, SizeMode::Width, "9", "o", 0, { "-" } },
        { { "--width", "9", "--out", "o", "--jobs", "64", "a", "a" }, SizeMode::Width, "9", "o", 64, { "a", "a" } },
        { { "--long-edge", "1080", "--out", "o", "a" }, SizeMode::LongEdge, "1080", "o", 0, { "a" } },
        { { "--short-edge=720", "--out", "o", "a" }, SizeMode::ShortEdge, "720", "o", 0, { "a" } },
        // A box is checked per file too, each side by the size rule.
        { { "--fit", "1920x1080", "--out", "o", "a" }, SizeMode::Fit, "1920x1080", "o", 0, { "a" } },
    };
    for (const RunRow& row : rows) {
        ParsedArguments parsed = parse(row.arguments);
        SCOPED_TRACE(testing::PrintToString(row.arguments));
        ASSERT_EQ(parsed.kind, Kind::Run) << parsed.error;
        EXPECT_EQ(parsed.options.sizeMode, row.sizeMode);
        EXPECT_EQ(parsed.options.targetText, row.targetText);
        if (row.outputDir) {
            ASSERT_TRUE(parsed.options.outputDir.has_value());
            EXPECT_EQ(parsed.options.outputDir->string(), *row.outputDir);
        } else {
            EXPECT_FALSE(parsed.options.outputDir.has_value());
        }
        EXPECT_EQ(parsed.options.jobs, row.jobs);
        EXPECT_EQ(parsed.options.paths, row.paths);
    }
}

TEST(CliOptions, RefusesUsageErrorsWithAReason)
{
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> rows = {
        { {}, "one of --width, --height, --long-edge, --short-edge and --fit" },
        { { "--out", "o", "a" }, "one of --width, --height" },
        { { "--width", "5", "--height", "5", "--out", "o", "a" }, "only one of --width, --height" },
        { { "--width", "5", "--width", "6", "--out", "o", "a" }, "only one of --width, --height" },
        { { "--long-edge", "5", "--fit", "5x5", "--out", "o", "a" }, "only one of --width, --height" },
        { { "--width", "5", "--out", "o", "--keep-dates=1", "a" }, "--keep-dates takes no value" },
        { { "--width", "5", "--out", "o" }, "no PATH" },
        { { "--width", "5", "--out", "o", "--" }, "no PATH" },
        { { "--width", "5", "--out", "o", "--size", "a" }, "unknown option '--size'" },
        { { "--width", "5", "--out", "o", "-w", "a" }, "unknown option '-w'" },
        { { "--width", "5", "--out", "o", "--help=1", "a" }, "unknown option '--help'" },
        { { "--out", "o", "a", "--width" }, "--width needs a value" },
        { { "--width", "5", "a", "--out" }, "--out needs a value" },
        { { "--width", "5", "--out", "", "a" }, "--out needs a folder" },
        { { "--width", "5", "--out=", "a" }, "--out needs a folder" },
        { { "--width", "5", "--out", "o", "--out", "p", "a" }, "--out given more than once" },
        { { "--width", "5", "--out", "o", "a", "--jobs" }, "--jobs needs a value" },
        { { "--width", "5", "--out", "o", "--jobs", "2", "--jobs", "3", "a" }, "--jobs given more than once" },
        { { "--width", "5", "--out", "o", "--recursive=1", "a" }, "--recursive takes no value" },
        { { "--width", "5", "--out", "o", "--strip", "--strip-location", "a" }, "only one of --strip and" },
        { { "--width", "5", "--out", "o", "-R", "a" }, "unknown option '-R'" },
    };
    for (const auto& [arguments, reason] : rows) {
        ParsedArguments parsed = parse(arguments);
        SCOPED_TRACE(testing::PrintToString(arguments));
        EXPECT_EQ(parsed.kind, Kind::UsageError);
        EXPECT_NE(parsed.error.find(reason), std::string::npos) << parsed.error;
    }
}

TEST(CliOptions, RefusesJobsThatAreNotAPositiveWholeNumber)
{
    for (std::string_view jobs : { "0", "-1", "+2", " 2", "2 ", "2x", "x", "", "1.5", "99999999999999999999" }) {
        ParsedArguments parsed = parse({ "--width", "5", "--out", "o", "--jobs", jobs, "a" });
        EXPECT_EQ(parsed.kind, Kind::UsageError) << "--jobs '" << jobs << "'";
        EXPECT_NE(parsed.error.find("--jobs needs a positive whole number"), std::string::npos) << parsed.error;
    }
}

TEST(CliOptions, ReadsTheFlagsAnywhereAmongThePaths)
{
    ParsedArguments parsed = parse({ "a", "--strip-location", "--width", "5", "-r", "b", "--out", "o" });
    ASSERT_EQ(parsed.kind, Kind::Run) << parsed.error;
    EXPECT_TRUE(parsed.options.recursive);
    EXPECT_EQ(parsed.options.metadata, (voveriz::MetadataOptions { false, true }));
    EXPECT_EQ(parsed.options.paths, (std::vector<std::string> { "a", "b" }));
    parsed = parse({ "--strip", "--recursive", "--width", "5", "a" });
    EXPECT_EQ(parsed.options.metadata, (voveriz::MetadataOptions { true, false }));
    EXPECT_TRUE(parsed.options.recursive);
    EXPECT_FALSE(parse({ "--width", "5", "a" }).options.recursive);
}

TEST(CliOptions, HelpWinsUnlessItIsAnOptionsValue)
{
    EXPECT_EQ(parse({ "--help" }).kind, Kind::Help);
    EXPECT_EQ(parse({ "a.jpg", "-h" }).kind, Kind::Help);
    // A value is taken verbatim, even when it looks like an option.
    EXPECT_EQ(parse({ "--width", "--help", "--out", "o", "a" }).options.targetText, "--help");
}

}  // namespace
