#include "print/text_file.h"

#include <vector>

#include "platform/file_reader.h"
#include "platform/text_codec.h"

namespace quil {

namespace {

std::string DecodeUtf16(const uint8_t* bytes, size_t count, bool bigEndian) {
    std::vector<char16_t> units(count / 2);
    for (size_t i = 0; i < units.size(); ++i) {
        const uint8_t a = bytes[2 * i], b = bytes[2 * i + 1];
        units[i] = bigEndian ? char16_t(a << 8 | b) : char16_t(b << 8 | a);
    }
    return Utf16ToUtf8(units.data(), units.size());
}

std::string DecodeCodePage(const uint8_t* bytes, size_t count) {
    // A code page gives at most one UTF-16 unit per byte, two for a
    // four-byte sequence.
    std::vector<char16_t> units(count + 1);
    DecodeAnsiText(bytes, count, units.data(), units.size());
    return Utf16ToUtf8(units.data(), units.size());
}

// Length of the continuation run a lead byte announces, or -1 when the byte
// cannot start a sequence.
int ContinuationCount(uint8_t lead) {
    if (lead < 0x80) return 0;
    if (lead >= 0xC2 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) return 2;
    if (lead >= 0xF0 && lead <= 0xF4) return 3;
    return -1;
}

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or
// values beyond U+10FFFF).
bool IsValidUtf8(const uint8_t* bytes, size_t count) {
    size_t i = 0;
    while (i < count) {
        const uint8_t lead = bytes[i];
        const int more = ContinuationCount(lead);
        if (more < 0 || count - i - 1 < size_t(more)) return false;
        for (int k = 1; k <= more; ++k)
            if ((bytes[i + k] & 0xC0) != 0x80) return false;
        // The second byte's range rules out overlong forms, surrogates and
        // values above U+10FFFF.
        if (more >= 2) {
            const uint8_t second = bytes[i + 1];
            if (lead == 0xE0 && second < 0xA0) return false;
            if (lead == 0xED && second >= 0xA0) return false;
            if (lead == 0xF0 && second < 0x90) return false;
            if (lead == 0xF4 && second >= 0x90) return false;
        }
        i += size_t(more) + 1;
    }
    return true;
}

}  // namespace

std::string DecodeText(const uint8_t* bytes, size_t count) {
    if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return DecodeUtf16(bytes + 2, count - 2, false);
    if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return DecodeUtf16(bytes + 2, count - 2, true);
    if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        count -= 3;
    }
    if (!IsValidUtf8(bytes, count)) return DecodeCodePage(bytes, count);
    std::string text(reinterpret_cast<const char*>(bytes), count);
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return text;
}

size_t CharacterCount(std::string_view text) {
    size_t n = 0;
    for (char c : text)
        n += (uint8_t(c) & 0xC0) != 0x80;  // bytes that do not continue a sequence
    return n;
}

std::string FirstCharacters(std::string_view text, size_t count) {
    size_t n = 0, i = 0;
    for (; i < text.size(); ++i)
        if ((uint8_t(text[i]) & 0xC0) != 0x80 && n++ == count) break;
    return std::string(text.substr(0, i));
}

bool ReadTextFile(const std::filesystem::path& path, std::string& text) {
    text.clear();
    TFileReader reader;
    if (!reader.Open(path) || reader.Length() > kMaxTextFileBytes) return false;
    std::vector<uint8_t> bytes(size_t(reader.Length()));
    if (!reader.ReadExact(bytes.data(), bytes.size())) return false;
    text = DecodeText(bytes.data(), bytes.size());
    return true;
}

}  // namespace quil
