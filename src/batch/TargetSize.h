#pragma once

#include "engine/plan/SizeRule.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace voveriz {

// The target size typed by the user, as UTF-8 text: trimmed of tabs and Unicode space separators
// (not of line breaks), an optional single "+" or "-", then ASCII digits only, fitting a signed
// 64-bit integer, and greater than 0. Anything else gives no value.
std::optional<std::int64_t> parseTargetSize(std::string_view text);

// The rule of mode for its text: one target size as above, or for SizeMode::Fit two of them with
// an "x" between them ("1920x1080"). None when a size does not follow the rule.
std::optional<SizeRule> parseSizeRule(SizeMode mode, std::string_view text);

}  // namespace voveriz
