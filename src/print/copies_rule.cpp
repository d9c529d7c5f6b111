#include "print/copies_rule.h"

namespace quil {

bool AcceptCopiesKey(char32_t character) {
    return (character >= U'0' && character <= U'9') || character == U'\b';
}

int CopiesFromText(std::string_view text) {
    if (text.empty() || text.size() > size_t(kCopiesDigits)) return 0;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace quil
