#pragma once

#include <string_view>

namespace quil {

// The copies edit takes 1 to 999 copies, as at most three digits.
constexpr int kMinCopies = 1;
constexpr int kMaxCopies = 999;
constexpr int kCopiesDigits = 3;

// Whether a typed character may enter the copies edit: the digits and
// backspace; every other character is dropped.
bool AcceptCopiesKey(char32_t character);

// The number of copies the edit's text stands for, or 0 when the text is
// empty, not a number or not above 0: the edit then shows "1" instead.
int CopiesFromText(std::string_view text);

}  // namespace quil
