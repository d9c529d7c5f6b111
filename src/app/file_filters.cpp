#include "app/file_filters.h"

namespace quil {

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

}  // namespace

std::vector<std::string> DialogNameFilters(const std::string& filter) {
    const std::vector<std::string> parts = Split(filter, '|');
    std::vector<std::string> names;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        // The description without the patterns it shows in parentheses.
        std::string description = parts[i];
        const size_t open = description.find('(');
        if (open != std::string::npos) description.erase(open);
        while (!description.empty() && description.back() == ' ')
            description.pop_back();
        std::string patterns;
        for (const std::string& pattern : Split(parts[i + 1], ';'))
            patterns += (patterns.empty() ? "" : " ") + pattern;
        names.push_back(description + " (" + patterns + ")");
    }
    return names;
}

}  // namespace quil
