#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quil {

// Where the reader's settings live: the user's own file and the machine-wide
// ones, each "Zorvan Quil/Quil3.1.conf" in a configuration folder. Values
// sit in the [General] section, as the desktop's INI settings files keep
// values without a group.
struct TSettingsFiles {
    std::filesystem::path user;
    std::vector<std::filesystem::path> machine;  // the first one that has a value wins

    // From $XDG_CONFIG_HOME (default ~/.config) and the folders listed in
    // $XDG_CONFIG_DIRS (default /etc/xdg).
    static TSettingsFiles FromEnvironment();
};

// A stored value longer than this counts as missing; a default is cut to
// kMaxDefaultLength. Both in characters.
constexpr size_t kMaxSettingLength = 511;
constexpr size_t kMaxDefaultLength = 1023;

// The value of `name`: the user's, else the machine-wide one, else the
// default. A value that did not come from the user's file is then written
// into it, so the user keeps it from now on; when the user has no settings
// file (or it cannot be read and written) nothing is written and the result
// is the same.
std::string ReadSetting(const TSettingsFiles& files, std::string_view name,
                        std::string_view defaultValue);

// ReadSetting with the files of the environment.
std::string ReadSetting(std::string_view name, std::string_view defaultValue);

}  // namespace quil
