#pragma once

#include <filesystem>

namespace quil {

enum class SpecialFolder {
    Documents,  // the user's documents folder
    Templates,  // the user's templates folder
};

// The folder's path, or an empty path when none can be found. Looks at
// $XDG_DOCUMENTS_DIR / $XDG_TEMPLATES_DIR, then the user-dirs.dirs file of
// the XDG configuration folder, then falls back to ~/Documents (documents)
// or ~/Templates (templates) when those exist, and finally $HOME. Creates
// nothing.
std::filesystem::path GetSpecialFolder(SpecialFolder folder);

// The running program's own file (/proc/self/exe), or an empty path when it
// cannot be read.
std::filesystem::path RunningProgram();

}  // namespace quil
