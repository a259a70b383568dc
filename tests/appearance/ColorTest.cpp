#include "appearance/Color.h"

#include <gtest/gtest.h>

#include <limits>

using voveriz::Color;

namespace {

struct HexCase {
    const char* text;  // UTF-8
    int red, green, blue;
};

class ColorFromHexTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(ColorFromHexTest, ReadsLowTwentyFourBitsOfLeadingHexNumber)
{
    const HexCase& c = GetParam();
    const Color color = Color::fromHex(QString::fromUtf8(c.text));
    EXPECT_EQ(color.r, c.red / 255.0) << c.text;
    EXPECT_EQ(color.g, c.green / 255.0) << c.text;
    EXPECT_EQ(color.b, c.blue / 255.0) << c.text;
    EXPECT_EQ(color.a, 1.0) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ColorFromHexTest,
    ::testing::Values(
        // The usual forms.
        HexCase{"#607080", 0x60, 0x70, 0x80}, HexCase{"607080", 0x60, 0x70, 0x80},
        HexCase{"0x607080", 0x60, 0x70, 0x80}, HexCase{"0X607080", 0x60, 0x70, 0x80},
        HexCase{"  #607080 \n", 0x60, 0x70, 0x80}, HexCase{"#ABCDEF", 0xab, 0xcd, 0xef},
        HexCase{"#abcdef", 0xab, 0xcd, 0xef},
        // No short form, no length check: the number is read as it stands.
        HexCase{"#abc", 0x00, 0x0a, 0xbc}, HexCase{"#11223344", 0x22, 0x33, 0x44}, HexCase{"#1", 0, 0, 1},
        HexCase{"000000000000000000607080", 0x60, 0x70, 0x80},
        // Too large for 64 bits: all bits set.
        HexCase{"#ffffffffffffffffff", 0xff, 0xff, 0xff}, HexCase{"#10000000000000000", 0xff, 0xff, 0xff},
        HexCase{"#123456789abcdef0123", 0xff, 0xff, 0xff},
        // Exactly 64 bits still fits.
        HexCase{"#123456789a607080", 0x60, 0x70, 0x80},
        // Nothing to read gives black.
        HexCase{"", 0, 0, 0}, HexCase{"#", 0, 0, 0}, HexCase{"xyz", 0, 0, 0}, HexCase{"#gg0000", 0, 0, 0},
        HexCase{"0x", 0, 0, 0}, HexCase{"0xg1", 0, 0, 0}, HexCase{"x607080", 0, 0, 0},
        // Reading stops at the first other character.
        HexCase{"#12 34 56", 0, 0, 0x12}, HexCase{"#6070z80", 0, 0x60, 0x70}, HexCase{"#60.70.80", 0, 0, 0x60},
        // Only characters that are not Unicode letters, marks or digits are stripped from the ends.
        HexCase{"--#607080!!", 0x60, 0x70, 0x80}, HexCase{"«607080»", 0x60, 0x70, 0x80},
        HexCase{"＃607080。", 0x60, 0x70, 0x80}, HexCase{"😀607080😀", 0x60, 0x70, 0x80},
        HexCase{"\t#607080\u00a0", 0x60, 0x70, 0x80}, HexCase{"607080é", 0x60, 0x70, 0x80},
        HexCase{"é607080", 0, 0, 0}, HexCase{"٣607080", 0, 0, 0}, HexCase{"\u0301607080", 0, 0, 0},
        HexCase{"ⅻ607080", 0, 0, 0}));

TEST(ColorHexStringTest, EveryByteSurvivesTheRoundTrip)
{
    for (int n = 0; n <= 255; ++n) {
        const QString text = QString::asprintf("#%02x%02x%02x", n, 255 - n, n / 2);
        EXPECT_EQ(Color::fromHex(text).hexString(), text);
    }
}

TEST(ColorHexStringTest, WritesTruncatedLowercaseBytes)
{
    const struct {
        Color color;
        const char* text;
    } cases[] = {
        {Color{0.5, 0.0, 0.0, 1.0}, "#7f0000"},             // 127.5 is cut to 127
        {Color{0.999, 0.004, 1.0, 0.2}, "#fe01ff"},         // alpha is not written
        {Color::fromHex("#ABCDEF"), "#abcdef"},
        {Color::grey(0.878), "#dfdfdf"},
        // Out-of-range components are held to the range, so the text keeps its six digits.
        {Color{1.2, -0.1, 0.5, 1.0}, "#ff007f"},
        {Color::withoutRgbForm(), "#1e1e2e"},
        {Color{std::numeric_limits<double>::infinity(), 0.0, 0.0, 1.0}, "#1e1e2e"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.color.hexString(), QString::fromLatin1(c.text)) << c.text;
    }
}

TEST(ColorDerivedTest, PanelAndAccentOfEachPreset)
{
    const struct {
        const char* background;
        const char* panel;
        const char* accent;
    } cases[] = {
        {"#111111", "#252525", "#494949"}, {"#1e1e2e", "#323242", "#565666"}, {"#0d1117", "#21252b", "#45494f"},
        {"#0d1f1e", "#213332", "#455756"}, {"#0d1a0d", "#212e21", "#455245"}, {"#1a0d10", "#2e2124", "#524548"},
    };
    for (const auto& c : cases) {
        const Color background = Color::fromHex(QString::fromLatin1(c.background));
        EXPECT_EQ(background.panelColor().hexString(), QString::fromLatin1(c.panel)) << c.background;
        EXPECT_EQ(background.accentColor().hexString(), QString::fromLatin1(c.accent)) << c.background;
    }
}

TEST(ColorDerivedTest, ChannelsStopAtOneAndAlphaIsAlwaysOne)
{
    const Color white{1.0, 1.0, 1.0, 1.0};
    EXPECT_EQ(white.panelColor(), white);
    EXPECT_EQ(Color::fromHex("#f0f0f0").accentColor(), white);
    const Color translucent{0.1, 0.2, 0.95, 0.3};
    EXPECT_EQ(translucent.panelColor(), (Color{0.1 + 0.08, 0.2 + 0.08, 1.0, 1.0}));
    EXPECT_EQ(translucent.accentColor(), (Color{0.1 + 0.22, 0.2 + 0.22, 1.0, 1.0}));
}

TEST(ColorDerivedTest, ColorWithoutRgbFormTakesTheFallbacks)
{
    const Color pattern = Color::withoutRgbForm();
    EXPECT_FALSE(pattern.panelColor().hasRgbForm());
    EXPECT_EQ(pattern.accentColor(), Color::fromHex("#607080"));
    EXPECT_FALSE(Color::fromQColor(QColor()).hasRgbForm());
    EXPECT_FALSE(pattern.toQColor().isValid());
}

TEST(ColorQColorTest, PickerColorsArriveAsSrgb)
{
    EXPECT_EQ(Color::fromQColor(QColor(0x0d, 0x11, 0x17)).hexString(), "#0d1117");
    EXPECT_EQ(Color::fromQColor(QColor::fromHsv(0, 255, 255)).hexString(), "#ff0000");
    EXPECT_EQ(Color::fromHex("#0d1117").toQColor(), QColor(0x0d, 0x11, 0x17));
}

}  // namespace
