// quil render: not written yet; this placeholder keeps the tool whole.

#include <cstdio>

#include "cli/commands.h"

namespace quil {

int RunRender(int, char**) {
    std::fputs("quil: render: not available yet\n", stderr);
    return 70;
}

}  // namespace quil
