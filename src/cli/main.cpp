// quil: the headless companion of the viewer. Dispatches to a subcommand.

#include <cstdio>
#include <cstring>
#include <string>

#include "cli/cli_common.h"
#include "cli/commands.h"

namespace {

const char kUsage[] =
    "Usage: quil COMMAND FILE [options]\n"
    "\n"
    "Commands:\n"
    "  info FILE              the header and counts of a recording, as JSON\n"
    "  dump FILE              every element of a recording, as JSON\n"
    "  export FILE -o OUT     save the page as BMP, JPEG, PNG or SVGZ\n"
    "  render FILE -o OUT     save what the viewer's window shows, as PNG or BMP\n"
    "  replay FILE -o OUT     save the replay as a video: MP4, WebM or GIF\n"
    "  thumbnail FILE OUT SIZE\n"
    "                         a PNG of the page for file managers\n"
    "\n"
    "Run 'quil COMMAND --help' for the options of a command.\n"
    "Exit status: 0 done, 1-6 the recording did not load (the load code),\n"
    "7 refused, 64 usage error, 70 the output could not be written.\n";

struct Command {
    const char* name;
    int (*run)(int, char**);
};

// One command a line (clang-format would pack the table into columns).
// clang-format off
const Command kCommands[] = {
    {"info", quil::RunInfo},
    {"dump", quil::RunDump},
    {"render", quil::RunRender},
    {"export", quil::RunExport},
    {"thumbnail", quil::RunThumbnail},
    {"replay", quil::RunReplay},
};
// clang-format on

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return quil::UsageError("", "no command given");
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        std::fputs(kUsage, stdout);
        return quil::kExitOk;
    }
    for (const Command& command : kCommands)
        if (name == command.name) return command.run(argc - 1, argv + 1);
    return quil::UsageError("", "unknown command '" + name + "'");
}
