#include "app/document_title.h"

namespace quil {

std::string DisplayFileName(const std::filesystem::path& path) { return path.filename().string(); }

std::string DocumentTitle(const std::filesystem::path& path) {
    const std::string name = DisplayFileName(path);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return name;
    return name.substr(0, dot);
}

}  // namespace quil
