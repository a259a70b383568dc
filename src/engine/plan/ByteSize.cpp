#include "engine/plan/ByteSize.h"

#include <charconv>
#include <cmath>

namespace voveriz {

namespace {

std::optional<double> unitOf(std::string_view suffix)
{
    if (suffix.empty() || suffix == "B") return 1.0;
    if (suffix == "k" || suffix == "K" || suffix == "kB" || suffix == "KB") return 1e3;
    if (suffix == "M" || suffix == "MB") return 1e6;
    if (suffix == "Ki" || suffix == "KiB") return 1024.0;
    if (suffix == "Mi" || suffix == "MiB") return 1024.0 * 1024.0;
    return std::nullopt;
}

}  // namespace

std::optional<std::uint64_t> parseByteSize(std::string_view text)
{
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, std::chars_format::fixed);
    if (error != std::errc() || end == text.data() || !(number > 0)) return std::nullopt;
    const std::optional<double> unit = unitOf(text.substr(end - text.data()));
    if (!unit) return std::nullopt;
    const double bytes = std::floor(number * *unit);
    if (bytes < 1 || bytes > 9007199254740992.0) return std::nullopt;
    return static_cast<std::uint64_t>(bytes);
}

std::string byteSizeText(std::uint64_t bytes)
{
    if (bytes < 1000) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    if (bytes < 1000000) return std::to_string((bytes + 999) / 1000) + " kB";
    const std::uint64_t tenths = (bytes + 99999) / 100000;
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0) text.append(1, '.').append(std::to_string(tenths % 10));
    return text.append(" MB");
}

}  // namespace voveriz
