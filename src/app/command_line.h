#pragma once

#include <string>
#include <vector>

namespace quil {

// What the viewer's command line asks for. Arguments beginning with "-" are
// options; unknown ones are ignored, as a viewer started by a file manager
// or a desktop entry must not fail on a switch it does not know. Every other
// non-empty argument names a recording, and the last one wins. After "--"
// every argument is a name, so a file called "-x.stk" can still be opened.
struct TCommandLine {
    bool help = false;     // -h, --help
    bool version = false;  // --version
    std::string path;      // empty: nothing to open
};

// `arguments` without the program's own name.
TCommandLine ReadCommandLine(const std::vector<std::string>& arguments);

// The answers to --help and --version.
const char* CommandLineHelp();
const char* CommandLineVersion();

}  // namespace quil
