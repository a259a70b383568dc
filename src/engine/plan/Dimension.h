#pragma once

#include <optional>
#include <string_view>

namespace voveriz {

// The side of a photo that the target size applies to, as the user sees it (EXIF turn applied).
enum class Dimension { Width, Height };

// The stored and typed names: "width" and "height", lower case; any other text is no dimension.
constexpr std::string_view dimensionName(Dimension dimension)
{
    return dimension == Dimension::Width ? "width" : "height";
}
constexpr std::optional<Dimension> dimensionNamed(std::string_view name)
{
    if (name == "width") return Dimension::Width;
    if (name == "height") return Dimension::Height;
    return std::nullopt;
}

}  // namespace voveriz
