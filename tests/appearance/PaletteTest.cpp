#include "appearance/Palette.h"

#include <gtest/gtest.h>

using voveriz::Color;
using voveriz::Palette;

namespace {

TEST(PaletteTest, StartsWithTheSixInitialColors)
{
    const Palette palette;
    EXPECT_EQ(palette.bg().hexString(), "#111111");
    EXPECT_EQ(palette.panelBg().hexString(), "#222222");
    EXPECT_EQ(palette.accent().hexString(), "#607080");
    EXPECT_EQ(palette.textCol().hexString(), "#e0e0f0");
    EXPECT_EQ(palette.textDim().hexString(), "#888888");
    EXPECT_EQ(palette.btnOff().hexString(), "#404040");
    EXPECT_EQ(palette.textDim().a, 1.0);
}

TEST(PaletteTest, DimmedTextIsTheTextColorAtAlphaPointFiveFive)
{
    for (const double lightness : {0.878, 0.0, 0.9}) {
        Palette palette;
        palette.setTextColor(Color::grey(lightness));
        EXPECT_EQ(palette.textCol(), (Color{lightness, lightness, lightness, 1.0}));
        EXPECT_EQ(palette.textDim(), (Color{lightness, lightness, lightness, 0.55}));
    }
    // The alpha is replaced, not multiplied.
    EXPECT_EQ(voveriz::dimmedText(Color{0.2, 0.3, 0.4, 0.5}), (Color{0.2, 0.3, 0.4, 0.55}));
}

TEST(PaletteTest, TextAndAccentChangesLeaveTheFixedEntries)
{
    Palette palette;
    palette.setAccent(Color::fromHex("#45494f"));
    palette.setTextColor(Color::grey(0.5));
    EXPECT_EQ(palette.accent().hexString(), "#45494f");
    EXPECT_EQ(palette.bg().hexString(), "#111111");
    EXPECT_EQ(palette.panelBg().hexString(), "#222222");
    EXPECT_EQ(palette.btnOff().hexString(), "#404040");
}

}  // namespace
