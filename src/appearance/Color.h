#pragma once

#include <QColor>
#include <QString>

namespace voveriz {

// A color as the program keeps it: sRGB red, green, blue and alpha as doubles, 0.0 to 1.0.
// A color whose red, green or blue is not a finite number stands for a color with no RGB
// form (what the platform's color picker may hand over); the operations below then take
// their fallbacks.
struct Color {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    double a = 1.0;

    // Color text read leniently: characters that are not Unicode letters, marks or digits are
    // stripped from both ends, then an unsigned 64-bit hexadecimal number is read from the start
    // (leading blanks skipped, optional 0x or 0X, stops at the first non-hex character, 0 when
    // no digit, all bits set when it overflows). Its low 24 bits are red, green and blue.
    // Alpha 1.0. Never fails: text that spells no number gives black.
    static Color fromHex(const QString& text);

    // An opaque grey: red, green and blue all equal to the lightness, taken as given.
    static Color grey(double lightness);

    // The color of a platform color (a color picker's choice), in sRGB; an invalid QColor
    // gives a color with no RGB form.
    static Color fromQColor(const QColor& color);

    // A color with no RGB form.
    static Color withoutRgbForm();

    bool hasRgbForm() const;

    // "#rrggbb" in lowercase, each byte trunc(component x 255.0) (components are held to
    // 0.0...1.0 first so the text always has six digits); "#1e1e2e" for a color with no RGB form.
    QString hexString() const;

    // The panel color of a background: each channel + 0.08, capped at 1.0, alpha 1.0.
    // A color with no RGB form is returned unchanged.
    Color panelColor() const;

    // The accent color of a background: each channel + 0.22, capped at 1.0, alpha 1.0.
    // A color with no RGB form gives "#607080".
    Color accentColor() const;

    // The same color with its alpha replaced.
    Color withAlpha(double alpha) const;

    // For painting only; components are held to 0.0...1.0, a color with no RGB form gives an
    // invalid QColor.
    QColor toQColor() const;

    bool operator==(const Color& other) const = default;
};

inline constexpr const char* kHexStringFallback = "#1e1e2e";
inline constexpr const char* kAccentFallback = "#607080";

}  // namespace voveriz
