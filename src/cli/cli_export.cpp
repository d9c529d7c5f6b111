// quil export: not written yet; this placeholder keeps the tool whole.

#include <cstdio>

#include "cli/commands.h"

namespace quil {

int RunExport(int, char**) {
    std::fputs("quil: export: not available yet\n", stderr);
    return 70;
}

}  // namespace quil
