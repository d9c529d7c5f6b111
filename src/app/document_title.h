#pragma once

#include <filesystem>
#include <string>

namespace quil {

// The name the window gives a recording or program file: its file name
// without the extension (from the last "." of the name), which is removed
// only when it is shorter than the name, so ".stk" stays ".stk".
std::string DocumentTitle(const std::filesystem::path& path);

// The file name with its extension, for the status bar.
std::string DisplayFileName(const std::filesystem::path& path);

}  // namespace quil
