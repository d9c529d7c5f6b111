#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace quil {

// Appends JSON text to a stdio stream: strings escaped from UTF-16, floats
// printed so that reading them back as float32 gives the same value, and
// null in place of values JSON cannot hold (NaN, infinities).
class TJsonOut {
public:
    explicit TJsonOut(std::FILE* stream) : stream_(stream) {}

    void Raw(const char* text) { std::fputs(text, stream_); }
    void Float(float value);
    void Int(int64_t value);
    void Unsigned(uint64_t value);
    void String(const std::string& utf8);
    void Utf16String(const char16_t* text, size_t count);
    // "key": (with a leading comma unless `first`).
    void Key(const char* key, bool first = false);

    // Whether everything reached the stream; when not, Error() gives the
    // errno value the failed write left.
    bool Finish();
    int Error() const { return error_; }

private:
    std::FILE* stream_;
    int error_ = 0;
};

}  // namespace quil
