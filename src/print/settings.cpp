#include "print/settings.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "export/atomic_file.h"
#include "print/ini_text.h"
#include "print/text_file.h"

namespace quil {

namespace {

constexpr char kSection[] = "General";
constexpr char kFileName[] = "Zorvan Quil/Quil3.1.conf";

std::filesystem::path HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home == '/') return home;
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "/";
}

bool FindValue(const TIniText& settings, std::string_view name, std::string& value) {
    return settings.Find(kSection, name, value) && CharacterCount(value) <= kMaxSettingLength;
}

bool FindValue(const std::filesystem::path& file, std::string_view name, std::string& value) {
    TIniText settings;
    return ReadIniFile(file, settings) && FindValue(settings, name, value);
}

}  // namespace

TSettingsFiles TSettingsFiles::FromEnvironment() {
    TSettingsFiles files;
    const char* home = std::getenv("XDG_CONFIG_HOME");
    const std::filesystem::path userFolder =
        home != nullptr && *home == '/' ? std::filesystem::path(home) : HomeFolder() / ".config";
    files.user = userFolder / kFileName;
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string_view list = dirs != nullptr ? dirs : "";
    while (!list.empty()) {
        const size_t colon = list.find(':');
        const std::string_view folder = list.substr(0, colon);
        if (!folder.empty() && folder.front() == '/')  // relative entries are ignored
            files.machine.push_back(std::filesystem::path(folder) / kFileName);
        list.remove_prefix(colon == std::string_view::npos ? list.size() : colon + 1);
    }
    if (files.machine.empty())
        files.machine.push_back(std::filesystem::path("/etc/xdg") / kFileName);
    return files;
}

std::string ReadSetting(const TSettingsFiles& files, std::string_view name,
                        std::string_view defaultValue) {
    std::string value;
    TIniText user;
    const bool userRead = ReadIniFile(files.user, user);
    if (userRead && FindValue(user, name, value)) return value;
    bool found = false;
    for (const std::filesystem::path& file : files.machine)
        if ((found = FindValue(file, name, value))) break;
    if (!found) value = FirstCharacters(defaultValue, kMaxDefaultLength);
    // The value goes into the user's file when that file exists and can be
    // read and written; its other lines are kept.
    if (userRead && access(files.user.c_str(), R_OK | W_OK) == 0) {
        const std::string updated = user.WithValue(kSection, name, value);
        ReplaceFileContents(files.user, reinterpret_cast<const uint8_t*>(updated.data()),
                            updated.size());
    }
    return value;
}

std::string ReadSetting(std::string_view name, std::string_view defaultValue) {
    return ReadSetting(TSettingsFiles::FromEnvironment(), name, defaultValue);
}

}  // namespace quil
