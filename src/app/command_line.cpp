#include "app/command_line.h"

#include "app/window_texts.h"

namespace quil {

TCommandLine ReadCommandLine(const std::vector<std::string>& arguments) {
    TCommandLine line;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (argument.empty()) continue;
        if (optionsEnded || argument[0] != '-') {
            line.path = argument;
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-h" || argument == "--help") {
            line.help = true;
        } else if (argument == "--version") {
            line.version = true;
        }
    }
    return line;
}

const char* CommandLineHelp() {
    return "Usage: quil-reader [FILE]\n"
           "Shows and replays the handwriting recording FILE (.stk). A copy of the\n"
           "viewer that carries its own recording opens that one instead.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "  --version      show the version and exit\n"
           "\n"
           "Other options are ignored; when several files are named, the last one opens.\n";
}

const char* CommandLineVersion() { return "quil-reader " QUIL_READER_VERSION "\n"; }

}  // namespace quil
