#include "appearance/Color.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace voveriz {

namespace {

constexpr double kChannelScale = 255.0;
constexpr double kPanelOffset = 0.08;
constexpr double kAccentOffset = 0.22;

// Letters, marks and digits in the Unicode sense (general categories L*, M*, N*).
bool isAlphanumeric(char32_t codePoint)
{
    switch (QChar::category(codePoint)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
        return true;
    default:
        return false;
    }
}

int hexDigitValue(char32_t c)
{
    if (c >= U'0' && c <= U'9') return int(c - U'0');
    if (c >= U'a' && c <= U'f') return int(c - U'a') + 10;
    if (c >= U'A' && c <= U'F') return int(c - U'A') + 10;
    return -1;
}

// An unsigned 64-bit hexadecimal number from the start of the text: blanks skipped, an
// optional 0x or 0X, then hex digits up to the first other character. No digit gives 0;
// a number too large for 64 bits gives all bits set.
std::uint64_t scanHexNumber(const std::u32string& text)
{
    std::size_t i = 0;
    while (i < text.size() && QChar::isSpace(text[i])) ++i;
    if (i + 1 < text.size() && text[i] == U'0' && (text[i + 1] == U'x' || text[i + 1] == U'X')) {
        i += 2;
    }
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    bool overflowed = false;
    for (; i < text.size(); ++i) {
        const int digit = hexDigitValue(text[i]);
        if (digit < 0) break;
        if (overflowed) continue;
        if (value > (kMax >> 4)) {
            overflowed = true;
            value = kMax;
            continue;
        }
        value = (value << 4) | std::uint64_t(digit);
    }
    return value;
}

double byteComponent(std::uint64_t number, int shift)
{
    return double((number >> shift) & 0xff) / kChannelScale;
}

// The byte written for a component: trunc(c x 255.0) of the component held to 0.0...1.0.
int componentByte(double component)
{
    return int(std::clamp(component, 0.0, 1.0) * kChannelScale);
}

// QColor keeps 16 bits a channel and gives floats; a channel made from a byte n (n x 257) comes
// back as exactly n / 255.0, so a picked color's hexString shows the byte it was picked as.
double sixteenBitComponent(quint16 value)
{
    if (value % 257 == 0) return double(value / 257) / kChannelScale;
    return double(value) / 65535.0;
}

Color offsetColor(const Color& color, double offset)
{
    return Color{std::min(color.r + offset, 1.0), std::min(color.g + offset, 1.0),
                  std::min(color.b + offset, 1.0), 1.0};
}

}  // namespace

Color Color::fromHex(const QString& text)
{
    const std::u32string codePoints = text.toStdU32String();
    std::size_t first = 0;
    std::size_t last = codePoints.size();
    while (first < last && !isAlphanumeric(codePoints[first])) ++first;
    while (last > first && !isAlphanumeric(codePoints[last - 1])) --last;
    const std::uint64_t number = scanHexNumber(codePoints.substr(first, last - first));
    return Color{byteComponent(number, 16), byteComponent(number, 8), byteComponent(number, 0), 1.0};
}

Color Color::grey(double lightness)
{
    return Color{lightness, lightness, lightness, 1.0};
}

Color Color::fromQColor(const QColor& color)
{
    if (!color.isValid()) return withoutRgbForm();
    const QRgba64 rgb = color.toRgb().rgba64();
    return Color{sixteenBitComponent(rgb.red()), sixteenBitComponent(rgb.green()), sixteenBitComponent(rgb.blue()),
                  sixteenBitComponent(rgb.alpha())};
}

Color Color::withoutRgbForm()
{
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    return Color{kNaN, kNaN, kNaN, 1.0};
}

bool Color::hasRgbForm() const
{
    return std::isfinite(r) && std::isfinite(g) && std::isfinite(b);
}

QString Color::hexString() const
{
    if (!hasRgbForm()) return QString::fromLatin1(kHexStringFallback);
    return QString::asprintf("#%02x%02x%02x", componentByte(r), componentByte(g), componentByte(b));
}

Color Color::panelColor() const
{
    if (!hasRgbForm()) return *this;
    return offsetColor(*this, kPanelOffset);
}

Color Color::accentColor() const
{
    if (!hasRgbForm()) return fromHex(QString::fromLatin1(kAccentFallback));
    return offsetColor(*this, kAccentOffset);
}

Color Color::withAlpha(double alpha) const
{
    return Color{r, g, b, alpha};
}

QColor Color::toQColor() const
{
    if (!hasRgbForm()) return QColor();
    const auto unit = [](double c) { return float(std::clamp(std::isfinite(c) ? c : 1.0, 0.0, 1.0)); };
    return QColor::fromRgbF(unit(r), unit(g), unit(b), unit(a));
}

}  // namespace voveriz
