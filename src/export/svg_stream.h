#pragma once

#include <string>
#include <string_view>

namespace quil {

// The text of an SVG drawing as it is built in memory. Every line feed put
// into it is stored as CR LF, the line end of the format, also inside the
// embedded base64 data. A writer that cannot produce a part (a picture that
// does not encode) marks the stream failed; the file writer then writes
// nothing.
class TSvgStream {
public:
    void Put(std::string_view text);
    // printf-style; for the short fixed templates (no "%s" of long text).
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

    void Fail() { failed_ = true; }
    bool Failed() const { return failed_; }
    const std::string& Text() const { return text_; }
    void Reserve(size_t bytes) { text_.reserve(bytes); }

private:
    std::string text_;
    bool failed_ = false;
};

}  // namespace quil
