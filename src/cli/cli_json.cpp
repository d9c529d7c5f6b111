#include "cli/cli_json.h"

#include <cerrno>

#include <cinttypes>
#include <cmath>

#include "platform/text_codec.h"

namespace quil {

void TJsonOut::Float(float value) {
    if (!std::isfinite(value)) {
        Raw("null");
        return;
    }
    char text[32];
    // Nine significant digits give every float32 back exactly.
    std::snprintf(text, sizeof text, "%.9g", double(value));
    Raw(text);
}

void TJsonOut::Int(int64_t value) { std::fprintf(stream_, "%" PRId64, value); }

void TJsonOut::Unsigned(uint64_t value) { std::fprintf(stream_, "%" PRIu64, value); }

void TJsonOut::String(const std::string& utf8) {
    std::fputc('"', stream_);
    for (unsigned char c : utf8) {
        switch (c) {
        case '"': Raw("\\\""); break;
        case '\\': Raw("\\\\"); break;
        case '\n': Raw("\\n"); break;
        case '\r': Raw("\\r"); break;
        case '\t': Raw("\\t"); break;
        case '\b': Raw("\\b"); break;
        case '\f': Raw("\\f"); break;
        default:
            if (c < 0x20)
                std::fprintf(stream_, "\\u%04x", c);
            else
                std::fputc(c, stream_);
        }
    }
    std::fputc('"', stream_);
}

void TJsonOut::Utf16String(const char16_t* text, size_t count) { String(Utf16ToUtf8(text, count)); }

void TJsonOut::Key(const char* key, bool first) {
    if (!first) Raw(", ");
    std::fprintf(stream_, "\"%s\": ", key);
}

bool TJsonOut::Finish() {
    Raw("\n");
    errno = 0;
    if (std::fflush(stream_) == 0 && !std::ferror(stream_)) return true;
    error_ = errno != 0 ? errno : EIO;
    return false;
}

}  // namespace quil
