#include "print/ini_text.h"

#include "print/text_file.h"

namespace quil {

namespace {

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// The section name of a "[name]" line.
bool SectionName(std::string_view line, std::string_view& name) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return false;
    name = Trim(line.substr(1, line.size() - 2));
    return true;
}

// Key and value of a "key=value" line; comments and blank lines have none.
bool KeyAndValue(std::string_view line, std::string_view& key, std::string_view& value) {
    line = Trim(line);
    if (line.empty() || line.front() == ';') return false;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    key = Trim(line.substr(0, equals));
    value = Trim(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return !key.empty();
}

// A value as it must be written to read back the same: quoted when blanks
// around it or enclosing quotes would otherwise be dropped.
std::string Written(std::string_view value) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool quote = !value.empty() && (blank(value.front()) || blank(value.back()) ||
                                          value.front() == '"' || value.front() == '\'');
    return quote ? "\"" + std::string(value) + "\"" : std::string(value);
}

}  // namespace

TIniText::TIniText(std::string text) : text_(std::move(text)) {
    size_t begin = 0;
    while (begin < text_.size()) {
        size_t end = text_.find('\n', begin);
        const size_t next = end == std::string::npos ? text_.size() : end + 1;
        if (end == std::string::npos) end = text_.size();
        lines_.push_back({begin, end, next});
        begin = next;
    }
}

std::string_view TIniText::Line(size_t i) const {
    return std::string_view(text_).substr(lines_[i].begin, lines_[i].end - lines_[i].begin);
}

bool TIniText::SectionLines(std::string_view section, size_t& first, size_t& last) const {
    std::string_view name;
    size_t i = 0;
    while (i < lines_.size() && !(SectionName(Line(i), name) && SameName(name, section)))
        ++i;
    if (i == lines_.size()) return false;
    first = last = i + 1;
    while (last < lines_.size() && !SectionName(Line(last), name))
        ++last;
    return true;
}

size_t TIniText::KeyLine(std::string_view key, size_t first, size_t last) const {
    std::string_view k, v;
    for (size_t i = first; i < last; ++i)
        if (KeyAndValue(Line(i), k, v) && SameName(k, key)) return i;
    return last;
}

bool TIniText::Find(std::string_view section, std::string_view key, std::string& value) const {
    size_t first = 0, last = 0;
    if (!SectionLines(section, first, last)) return false;
    const size_t line = KeyLine(key, first, last);
    if (line == last) return false;
    std::string_view k, v;
    KeyAndValue(Line(line), k, v);
    value.assign(v);
    return true;
}

std::string TIniText::WithValue(std::string_view section, std::string_view key,
                                std::string_view value) const {
    std::string entry(key);
    entry += '=';
    entry += Written(value);
    size_t first = 0, last = 0;
    if (!SectionLines(section, first, last)) {
        std::string text = text_;
        if (!text.empty() && text.back() != '\n') text += '\n';
        return text + "[" + std::string(section) + "]\n" + entry + "\n";
    }
    const size_t line = KeyLine(key, first, last);
    if (line < last) {
        size_t end = lines_[line].end;
        if (end > lines_[line].begin && text_[end - 1] == '\r') --end;  // keep a CRLF line break
        return text_.substr(0, lines_[line].begin) + entry + text_.substr(end);
    }
    // After the section's last line that is not blank, so that a blank line
    // before the next section stays where it is.
    size_t after = last;
    while (after > first && Trim(Line(after - 1)).empty())
        --after;
    const size_t at = lines_[after - 1].next;
    std::string text = text_.substr(0, at);
    if (!text.empty() && text.back() != '\n') text += '\n';
    return text + entry + "\n" + text_.substr(at);
}

bool ReadIniFile(const std::filesystem::path& file, TIniText& ini) {
    std::string text;
    if (file.empty() || !ReadTextFile(file, text)) return false;
    ini = TIniText(std::move(text));
    return true;
}

}  // namespace quil
