#pragma once

#include <optional>
#include <string>
#include <utility>

namespace quil {

// Option values of the quil subcommands. Each returns nothing when the text
// is not a well-formed value, which the caller reports as a usage error.

std::string Lower(std::string text);

// A whole decimal number; out-of-range values saturate (the callers clamp
// positions and counts anyway).
std::optional<long long> ParseInteger(const std::string& text);

// A finite number above 0.
std::optional<float> ParsePositiveFloat(const std::string& text);

// A finite number of at least 0.
std::optional<double> ParseNonNegativeNumber(const std::string& text);

// "on" or "off".
std::optional<bool> ParseSwitch(const std::string& text);

// "WxH" with both sides whole numbers from 1 to INT_MAX.
std::optional<std::pair<int, int>> ParseSize(const std::string& text);

}  // namespace quil
