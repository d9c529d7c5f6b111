#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quil {

// An INI text as settings and language files hold it: "[section]" lines,
// "key=value" lines below them and ";" comment lines. Section and key names
// match without regard to ASCII case; the first section of a name and the
// first key of a name in it count. A value runs to the end of its line, with
// the blanks around it removed and one pair of enclosing quotes dropped.
class TIniText {
public:
    TIniText() = default;
    explicit TIniText(std::string text);

    const std::string& Text() const { return text_; }

    // The entry's value; false when the section or the key is missing.
    bool Find(std::string_view section, std::string_view key, std::string& value) const;

    // The text with the entry set to `value`: its line is replaced, or a
    // line is added at the end of the section, or the section is added at
    // the end. Every other line stays as it was. The value must be one line.
    std::string WithValue(std::string_view section, std::string_view key,
                          std::string_view value) const;

private:
    struct TLine {
        size_t begin = 0, end = 0;  // bytes of the line, without its line break
        size_t next = 0;            // start of the following line
    };
    // The section's lines: [first, last) indexes into lines_, the header
    // excluded; false when there is no such section.
    bool SectionLines(std::string_view section, size_t& first, size_t& last) const;
    // The index of the key's line within [first, last), or last.
    size_t KeyLine(std::string_view key, size_t first, size_t last) const;
    std::string_view Line(size_t i) const;

    std::string text_;
    std::vector<TLine> lines_;
};

// Reads the INI file `file` (through ReadTextFile) into `ini`; false, with
// `ini` left as it was, when it cannot be read.
bool ReadIniFile(const std::filesystem::path& file, TIniText& ini);

}  // namespace quil
