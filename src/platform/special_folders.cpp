#include "platform/special_folders.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

namespace quil {

namespace {

std::filesystem::path Home() {
    const char* home = std::getenv("HOME");
    return (home && *home) ? std::filesystem::path(home) : std::filesystem::path();
}

std::filesystem::path ConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/') return config;
    std::filesystem::path home = Home();
    return home.empty() ? home : home / ".config";
}

// Reads KEY="value" from user-dirs.dirs, where the value may begin with
// $HOME/. Returns an empty path when the key is absent.
std::filesystem::path FromUserDirs(const std::string& key) {
    std::filesystem::path config = ConfigFolder();
    if (config.empty()) return {};
    std::ifstream file(config / "user-dirs.dirs");
    std::string line;
    while (std::getline(file, line)) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        if (line.compare(start, key.size(), key) != 0 || line.size() <= start + key.size() ||
            line[start + key.size()] != '=')
            continue;
        std::string value = line.substr(start + key.size() + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) {
            std::filesystem::path home = Home();
            if (home.empty()) return {};
            std::string rest = value.substr(5);
            while (!rest.empty() && rest.front() == '/')
                rest.erase(0, 1);
            return rest.empty() ? home : home / rest;
        }
        if (!value.empty() && value.front() == '/') return value;
        return {};
    }
    return {};
}

bool IsFolder(const std::filesystem::path& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

}  // namespace

std::filesystem::path GetSpecialFolder(SpecialFolder folder) {
    const bool documents = folder == SpecialFolder::Documents;
    const char* variable = documents ? "XDG_DOCUMENTS_DIR" : "XDG_TEMPLATES_DIR";
    if (const char* value = std::getenv(variable); value && *value == '/') return value;

    std::filesystem::path configured = FromUserDirs(variable);
    if (!configured.empty()) return configured;

    std::filesystem::path home = Home();
    if (home.empty()) return {};
    std::filesystem::path usual = home / (documents ? "Documents" : "Templates");
    if (IsFolder(usual)) return usual;
    return home;
}

std::filesystem::path RunningProgram() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

}  // namespace quil
