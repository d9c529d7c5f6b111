#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace quil {

// Settings and language files are small; anything larger is not one of them
// and is not read at all.
constexpr uint64_t kMaxTextFileBytes = 1 << 20;

// Text bytes as UTF-8: UTF-16 (little- or big-endian) when they start with
// its byte-order mark, UTF-8 when they are valid UTF-8 (a UTF-8 mark is
// dropped), and otherwise the code page named by $QUIL_CODEPAGE. The text
// ends at the first NUL.
std::string DecodeText(const uint8_t* bytes, size_t count);

// Reads a regular file of at most kMaxTextFileBytes into `text` through
// DecodeText. False, with `text` empty, when it cannot be read.
bool ReadTextFile(const std::filesystem::path& path, std::string& text);

// Characters of UTF-8 text, and its first `count` characters.
size_t CharacterCount(std::string_view text);
std::string FirstCharacters(std::string_view text, size_t count);

}  // namespace quil
