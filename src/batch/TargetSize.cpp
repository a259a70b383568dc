#include "batch/TargetSize.h"

#include <limits>

namespace voveriz {

namespace {

// Horizontal tab and the Unicode space separators (category Zs). Line breaks are not among them.
bool isTrimmedSpace(char32_t c)
{
    return c == U'\t' || c == U' ' || c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F
        || c == 0x205F || c == 0x3000;
}

// Byte length of the UTF-8 sequence that starts with lead, or 0 when lead cannot start one.
std::size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

char32_t decode(std::string_view bytes)
{
    auto lead = static_cast<unsigned char>(bytes[0]);
    if (bytes.size() == 1) return lead;
    char32_t c = lead & (0x7F >> bytes.size());
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        c = (c << 6) | (static_cast<unsigned char>(bytes[i]) & 0x3F);
    }
    return c;
}

// The code point that ends text, with its length in bytes; length 0 when text does not end in one.
std::size_t lastSequenceLength(std::string_view text)
{
    std::size_t start = text.size();
    while (start > 0 && text.size() - start < 4) {
        --start;
        if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) {
            std::size_t length = sequenceLength(static_cast<unsigned char>(text[start]));
            return length == text.size() - start ? length : 0;
        }
    }
    return 0;
}

std::string_view trimSpaces(std::string_view text)
{
    while (!text.empty()) {
        std::size_t length = sequenceLength(static_cast<unsigned char>(text.front()));
        if (length == 0 || length > text.size() || !isTrimmedSpace(decode(text.substr(0, length)))) break;
        text.remove_prefix(length);
    }
    while (!text.empty()) {
        std::size_t length = lastSequenceLength(text);
        if (length == 0 || !isTrimmedSpace(decode(text.substr(text.size() - length)))) break;
        text.remove_suffix(length);
    }
    return text;
}

}  // namespace

std::optional<std::int64_t> parseTargetSize(std::string_view text)
{
    text = trimSpaces(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;

    // Accumulate as a negative number so that the smallest 64-bit value fits too.
    constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        int digit = c - '0';
        if (value < (lowest + digit) / 10) return std::nullopt;
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == lowest) return std::nullopt;
        value = -value;
    }
    if (value <= 0) return std::nullopt;
    return value;
}

std::optional<SizeRule> parseSizeRule(SizeMode mode, std::string_view text)
{
    if (mode != SizeMode::Fit) {
        const std::optional<std::int64_t> target = parseTargetSize(text);
        if (!target) return std::nullopt;
        return SizeRule{mode, *target};
    }
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) return std::nullopt;
    const std::optional<std::int64_t> width = parseTargetSize(text.substr(0, x));
    const std::optional<std::int64_t> height = parseTargetSize(text.substr(x + 1));
    if (!width || !height) return std::nullopt;
    return SizeRule{SizeMode::Fit, *width, *height};
}

}  // namespace voveriz
