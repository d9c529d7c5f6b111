#pragma once

// A small strict JSON reader for checking what quil prints: it refuses
// anything that is not JSON (NaN, trailing commas, bare words).

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quil::test {

struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object } type = Type::Null;
    bool boolean = false;
    std::string number;  // the literal as printed
    std::string text;
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    bool IsNull() const { return type == Type::Null; }
    const JsonValue& operator[](const std::string& key) const;
    const JsonValue& operator[](size_t i) const { return items.at(i); }
    double Number() const { return std::stod(number); }
    // strtof, not stof: subnormal values are values, not errors.
    float Float() const { return std::strtof(number.c_str(), nullptr); }
    long long Integer() const { return std::stoll(number); }
};

// Parses one JSON document (surrounding white space allowed). Returns false
// with `error` set when the text is not JSON.
bool ParseJson(const std::string& text, JsonValue& value, std::string& error);

}  // namespace quil::test
