#include "platform/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace quil {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// One converter per process, opened for the code page the environment names.
class AnsiConverter {
public:
    AnsiConverter() {
        const char* name = std::getenv("QUIL_CODEPAGE");
        if (name != nullptr && *name != '\0') handle_ = iconv_open("UTF-16LE", name);
        if (handle_ == kNone) handle_ = iconv_open("UTF-16LE", "CP1252");
    }
    ~AnsiConverter() {
        if (handle_ != kNone) iconv_close(handle_);
    }
    AnsiConverter(const AnsiConverter&) = delete;
    AnsiConverter& operator=(const AnsiConverter&) = delete;

    // Converts with U+FFFD for every byte the code page cannot decode.
    size_t Convert(const uint8_t* bytes, size_t count, char16_t* out, size_t capacity) {
        if (handle_ == kNone) return Latin1(bytes, count, out, capacity);
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
        char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
        size_t inLeft = count;
        size_t written = 0;
        while (inLeft > 0 && written < capacity) {
            char buffer[2 * 8];
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            size_t result = iconv(handle_, &in, &inLeft, &outPtr, &outLeft);
            size_t units = (sizeof buffer - outLeft) / 2;
            for (size_t i = 0; i < units && written < capacity; ++i)
                out[written++] = char16_t(uint8_t(buffer[2 * i]) | uint8_t(buffer[2 * i + 1]) << 8);
            if (result != size_t(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: a byte the code page cannot decode, or an
            // incomplete sequence at the end. Replace one byte and go on.
            if (written < capacity) out[written++] = kReplacement;
            ++in;
            --inLeft;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        return written;
    }

private:
    static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);

    static size_t Latin1(const uint8_t* bytes, size_t count, char16_t* out, size_t capacity) {
        size_t n = count < capacity ? count : capacity;
        for (size_t i = 0; i < n; ++i)
            out[i] = bytes[i];
        return n;
    }

    iconv_t handle_ = kNone;
};

void AppendUtf8(std::string& text, uint32_t cp) {
    if (cp < 0x80) {
        text += char(cp);
    } else if (cp < 0x800) {
        text += char(0xC0 | (cp >> 6));
        text += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        text += char(0xE0 | (cp >> 12));
        text += char(0x80 | ((cp >> 6) & 0x3F));
        text += char(0x80 | (cp & 0x3F));
    } else {
        text += char(0xF0 | (cp >> 18));
        text += char(0x80 | ((cp >> 12) & 0x3F));
        text += char(0x80 | ((cp >> 6) & 0x3F));
        text += char(0x80 | (cp & 0x3F));
    }
}

}  // namespace

void DecodeAnsiText(const uint8_t* bytes, size_t count, char16_t* out, size_t capacity) {
    static AnsiConverter converter;
    size_t written = converter.Convert(bytes, count, out, capacity);
    for (size_t i = written; i < capacity; ++i)
        out[i] = 0;
}

size_t Utf16Length(const char16_t* text, size_t count) {
    size_t n = 0;
    while (n < count && text[n] != 0)
        ++n;
    return n;
}

std::string Utf16ToUtf8(const char16_t* text, size_t count) {
    const size_t n = Utf16Length(text, count);
    std::string result;
    result.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        uint32_t unit = text[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < n && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            AppendUtf8(result, 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit < 0xE000) {
            AppendUtf8(result, 0xFFFD);  // an unpaired surrogate
        } else {
            AppendUtf8(result, unit);
        }
    }
    return result;
}

}  // namespace quil
