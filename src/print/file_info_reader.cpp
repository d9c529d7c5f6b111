#include "print/file_info_reader.h"

#include <climits>
#include <cstdio>

#include "print/text_file.h"

namespace quil {

int LeadingNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value <= INT_MAX) value = value * 10 + (text[i] - '0');
    if (negative) value = -value;
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : int(value);
}

TFileInfoReader::TFileInfoReader(const std::optional<std::filesystem::path>& path) {
    if (!path) return;
    ReadIniFile(*path, text_);
    version_ = HeaderNumber("Version");
    subVersion_ = HeaderNumber("SubVersion");
}

int TFileInfoReader::HeaderNumber(const char* key) const {
    std::string value;
    return text_.Find("Header", key, value) ? LeadingNumber(value) : 0;
}

std::string TFileInfoReader::GetEntry(int slot) const {
    char key[16];
    std::snprintf(key, sizeof key, "%03d", slot);
    std::string value;
    if (!text_.Find("Data", key, value)) return {};
    return FirstCharacters(value, kMaxEntryLength);
}

}  // namespace quil
