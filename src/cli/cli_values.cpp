#include "cli/cli_values.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace quil {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::optional<long long> ParseInteger(const std::string& text) {
    if (text.empty() || std::isspace((unsigned char)text[0])) return std::nullopt;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0') return std::nullopt;
    return value;
}

std::optional<float> ParsePositiveFloat(const std::string& text) {
    if (text.empty() || std::isspace((unsigned char)text[0])) return std::nullopt;
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value) || !(value > 0.0f)) return std::nullopt;
    return value;
}

std::optional<double> ParseNonNegativeNumber(const std::string& text) {
    if (text.empty() || std::isspace((unsigned char)text[0])) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value) || !(value >= 0.0)) return std::nullopt;
    return value;
}

std::optional<bool> ParseSwitch(const std::string& text) {
    if (text == "on") return true;
    if (text == "off") return false;
    return std::nullopt;
}

std::optional<std::pair<int, int>> ParseSize(const std::string& text) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return std::nullopt;
    const std::string w = text.substr(0, x), h = text.substr(x + 1);
    auto digits = [](const std::string& s) {
        return !s.empty() && s.size() <= 10 &&
               std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
    };
    if (!digits(w) || !digits(h)) return std::nullopt;
    const long long width = std::stoll(w), height = std::stoll(h);
    if (width < 1 || height < 1 || width > INT_MAX || height > INT_MAX) return std::nullopt;
    return std::make_pair(int(width), int(height));
}

}  // namespace quil
