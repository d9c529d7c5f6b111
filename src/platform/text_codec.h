#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quil {

// Decodes all `count` bytes of ANSI text (a NUL byte gives a NUL unit) into
// at most `capacity` UTF-16 units at `out`; the rest is zero-filled. The code page
// is the one named by $QUIL_CODEPAGE (an iconv name), CP1252 when unset or
// unknown. Undecodable bytes become U+FFFD; decoding never fails.
void DecodeAnsiText(const uint8_t* bytes, size_t count, char16_t* out, size_t capacity);

// UTF-16 units up to the first NUL (or `count`) as UTF-8. Unpaired
// surrogates become U+FFFD.
std::string Utf16ToUtf8(const char16_t* text, size_t count);

// Length of a UTF-16 text up to its first NUL, at most `count`.
size_t Utf16Length(const char16_t* text, size_t count);

}  // namespace quil
