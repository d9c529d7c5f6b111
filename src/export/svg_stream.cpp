#include "export/svg_stream.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace quil {

void TSvgStream::Put(std::string_view text) {
    size_t start = 0;
    for (size_t lf = text.find('\n'); lf != std::string_view::npos; lf = text.find('\n', start)) {
        text_.append(text.substr(start, lf - start));
        text_.append("\r\n");
        start = lf + 1;
    }
    text_.append(text.substr(start));
}

void TSvgStream::Format(const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (n < 0) {
        failed_ = true;
        return;
    }
    if (size_t(n) < sizeof line) {
        Put(std::string_view(line, size_t(n)));
        return;
    }
    std::vector<char> longer(size_t(n) + 1);
    va_start(args, format);
    std::vsnprintf(longer.data(), longer.size(), format, args);
    va_end(args);
    Put(std::string_view(longer.data(), size_t(n)));
}

}  // namespace quil
