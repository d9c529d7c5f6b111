#include "info_json_reader.h"

#include <cctype>
#include <stdexcept>

namespace quil::test {

namespace {

class Parser {
public:
    explicit Parser(const std::string& text) : s_(text) {}

    bool Document(JsonValue& v) {
        Space();
        if (!Value(v)) return false;
        Space();
        return at_ == s_.size() || Fail("text after the value");
    }
    std::string error;

private:
    bool Fail(const std::string& why) {
        error = why + " at offset " + std::to_string(at_);
        return false;
    }
    void Space() {
        while (at_ < s_.size() &&
               (s_[at_] == ' ' || s_[at_] == '\n' || s_[at_] == '\t' || s_[at_] == '\r'))
            ++at_;
    }
    bool Word(const char* w) {
        std::string word(w);
        if (s_.compare(at_, word.size(), word) != 0) return Fail("unknown word");
        at_ += word.size();
        return true;
    }
    bool Value(JsonValue& v) {
        if (at_ >= s_.size()) return Fail("end of text");
        char c = s_[at_];
        if (c == '{') return Object(v);
        if (c == '[') return Array(v);
        if (c == '"') {
            v.type = JsonValue::Type::String;
            return String(v.text);
        }
        if (c == 't') return v.type = JsonValue::Type::Bool, v.boolean = true, Word("true");
        if (c == 'f') return v.type = JsonValue::Type::Bool, Word("false");
        if (c == 'n') return v.type = JsonValue::Type::Null, Word("null");
        return Number(v);
    }
    bool Number(JsonValue& v) {
        size_t start = at_;
        if (s_[at_] == '-') ++at_;
        if (at_ >= s_.size() || !isdigit(uint8_t(s_[at_]))) return Fail("bad number");
        if (s_[at_] == '0')
            ++at_;
        else
            while (at_ < s_.size() && isdigit(uint8_t(s_[at_])))
                ++at_;
        if (at_ < s_.size() && s_[at_] == '.') {
            ++at_;
            if (at_ >= s_.size() || !isdigit(uint8_t(s_[at_]))) return Fail("bad fraction");
            while (at_ < s_.size() && isdigit(uint8_t(s_[at_])))
                ++at_;
        }
        if (at_ < s_.size() && (s_[at_] == 'e' || s_[at_] == 'E')) {
            ++at_;
            if (at_ < s_.size() && (s_[at_] == '+' || s_[at_] == '-')) ++at_;
            if (at_ >= s_.size() || !isdigit(uint8_t(s_[at_]))) return Fail("bad exponent");
            while (at_ < s_.size() && isdigit(uint8_t(s_[at_])))
                ++at_;
        }
        v.type = JsonValue::Type::Number;
        v.number = s_.substr(start, at_ - start);
        return true;
    }
    bool String(std::string& out) {
        ++at_;
        while (at_ < s_.size() && s_[at_] != '"') {
            unsigned char c = uint8_t(s_[at_++]);
            if (c < 0x20) return Fail("control character in a string");
            if (c != '\\') {
                out += char(c);
                continue;
            }
            if (at_ >= s_.size()) return Fail("end in an escape");
            char e = s_[at_++];
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'u': {
                if (at_ + 4 > s_.size()) return Fail("short \\u");
                unsigned cp = unsigned(std::stoul(s_.substr(at_, 4), nullptr, 16));
                at_ += 4;
                if (cp < 0x80)
                    out += char(cp);
                else
                    return Fail("\\u beyond ASCII not needed here");
                break;
            }
            default: return Fail("unknown escape");
            }
        }
        if (at_ >= s_.size()) return Fail("unterminated string");
        ++at_;
        return true;
    }
    bool Array(JsonValue& v) {
        v.type = JsonValue::Type::Array;
        ++at_;
        Space();
        if (at_ < s_.size() && s_[at_] == ']') return ++at_, true;
        for (;;) {
            v.items.emplace_back();
            Space();
            if (!Value(v.items.back())) return false;
            Space();
            if (at_ < s_.size() && s_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < s_.size() && s_[at_] == ']') return ++at_, true;
            return Fail("expected , or ]");
        }
    }
    bool Object(JsonValue& v) {
        v.type = JsonValue::Type::Object;
        ++at_;
        Space();
        if (at_ < s_.size() && s_[at_] == '}') return ++at_, true;
        for (;;) {
            Space();
            std::string key;
            if (at_ >= s_.size() || s_[at_] != '"' || !String(key)) return Fail("expected a key");
            Space();
            if (at_ >= s_.size() || s_[at_] != ':') return Fail("expected :");
            ++at_;
            Space();
            if (v.members.count(key)) return Fail("key given twice");
            if (!Value(v.members[key])) return false;
            Space();
            if (at_ < s_.size() && s_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < s_.size() && s_[at_] == '}') return ++at_, true;
            return Fail("expected , or }");
        }
    }

    const std::string& s_;
    size_t at_ = 0;
};

}  // namespace

const JsonValue& JsonValue::operator[](const std::string& key) const {
    auto found = members.find(key);
    if (found == members.end()) throw std::out_of_range("no key " + key);
    return found->second;
}

bool ParseJson(const std::string& text, JsonValue& value, std::string& error) {
    Parser parser(text);
    bool ok = parser.Document(value);
    error = parser.error;
    return ok;
}

}  // namespace quil::test
