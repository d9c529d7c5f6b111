#include "platform/temp_name.h"

#include <system_error>

#include "platform/special_folders.h"

namespace quil {

namespace {

constexpr int kLastNumber = 999999998;

// The pattern with its one "%05d" replaced by `number` (at least five
// digits, zero-padded) and "%%" by "%".
std::string Format(const std::string& pattern, int number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
    std::string name;
    name.reserve(pattern.size() + digits.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 4, "%05d") == 0) {
            name += digits;
            i += 3;
        } else if (pattern.compare(i, 2, "%%") == 0) {
            name += '%';
            ++i;
        } else {
            name += pattern[i];
        }
    }
    return name;
}

// Whether a file of that name exists. A name whose status cannot be read
// (a folder part that is a file, a loop of links, a name too long, a folder
// without search permission) is not taken: every other number would fail
// alike, so the search ends on it and the caller's create reports why.
bool Taken(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

}  // namespace

std::filesystem::path MakeTempName(const std::string& pattern,
                                   const std::filesystem::path& folder) {
    for (int i = 0; i <= kLastNumber; ++i) {
        std::filesystem::path candidate = folder / Format(pattern, i);
        std::filesystem::path sound = candidate;
        sound += ".aud";
        if (!Taken(candidate) && !Taken(sound)) return candidate;
    }
    return folder / pattern;
}

std::filesystem::path MakeTempName(const std::string& pattern) {
    return MakeTempName(pattern, GetSpecialFolder(SpecialFolder::Templates));
}

}  // namespace quil
