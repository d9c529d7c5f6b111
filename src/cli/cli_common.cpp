#include "cli/cli_common.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "cli/cli_values.h"
#include "export/atomic_file.h"
#include "model/load_recording.h"

namespace quil {

int OpenRecording(TPenReplayWT& document, const std::filesystem::path& file, bool* selfContained) {
    const bool appended = TPenReplayWT::FindAppendedRecording(file);
    if (selfContained) *selfContained = appended;
    return appended ? document.LoadAppended(file) : document.LoadFile(file);
}

const char* LoadMessage(int code) {
    switch (code) {
    case 1: return "cannot open the file";
    case 2: return "the file size is wrong, the file may be damaged";
    case 3: return "the file format does not match";
    case 4: return "decompression failed";
    case 5: return "the main version of the format does not match";
    case 6: return "a newer version that is not supported";
    default: return "the recording did not load";
    }
}

void PrintFileError(const std::string& file, const std::string& message, int code) {
    if (code > 0)
        std::fprintf(stderr, "quil: %s: %s (code %d)\n", file.c_str(), message.c_str(), code);
    else
        std::fprintf(stderr, "quil: %s: %s\n", file.c_str(), message.c_str());
}

int UsageError(const std::string& command, const std::string& message) {
    // One line, like every other failure of the tool.
    std::fprintf(stderr, "quil: %s (see 'quil %s--help')\n", message.c_str(),
                 command.empty() ? "" : (command + " ").c_str());
    return kExitUsage;
}

int CheckOutput(const std::string& command, const std::string& file, const std::string& out) {
    const bool standardOutput = out == "-";
    if (standardOutput && ::isatty(STDOUT_FILENO))
        return UsageError(command, "standard output is a terminal; redirect it or give -o FILE");
    struct stat input {
    }, output{};
    if (::stat(file.c_str(), &input) == 0 &&
        (standardOutput ? ::fstat(STDOUT_FILENO, &output) : ::stat(out.c_str(), &output)) == 0 &&
        input.st_dev == output.st_dev && input.st_ino == output.st_ino)
        return UsageError(command, "the output " + out + " is the recording " + file + " itself");
    return -1;
}

int OutputError(const std::string& file, const std::string& out) {
    return OutputError(file, out, LastWriteError());
}

int OutputError(const std::string& file, const std::string& out, int error) {
    PrintFileError(
        file, "cannot write " + out + (error != 0 ? ": " + std::string(std::strerror(error)) : ""));
    return kExitOutput;
}

int OpenOrReport(TPenReplayWT& document, const std::string& file, bool* selfContained) {
    int code = OpenRecording(document, file, selfContained);
    if (code != kLoadOk) PrintFileError(file, LoadMessage(code), code);
    return code;
}

bool ParseArguments(int argc, char** argv, const std::vector<OptionSpec>& specs,
                    ParsedArguments& parsed, std::string& error) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string token = argv[i];
        if (optionsEnded || token.size() < 2 || token[0] != '-') {
            parsed.positional.push_back(token);
            continue;
        }
        if (token == "--") {
            optionsEnded = true;
            continue;
        }
        if (token == "-h" || token == "--help") {
            parsed.help = true;
            continue;
        }
        std::string name = token, value;
        bool inlineValue = false;
        if (size_t eq = token.find('='); token.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = token.substr(0, eq);
            value = token.substr(eq + 1);
            inlineValue = true;
        }
        const OptionSpec* option = nullptr;
        for (const OptionSpec& s : specs)
            if (s.name == name) option = &s;
        if (option == nullptr) {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (parsed.Has(name)) {
            error = "option '" + name + "' given twice";
            return false;
        }
        if (option->takesValue && !inlineValue) {
            if (i + 1 >= argc) {
                error = "option '" + name + "' needs a value";
                return false;
            }
            value = argv[++i];
        } else if (!option->takesValue && inlineValue) {
            error = "option '" + name + "' takes no value";
            return false;
        }
        parsed.values[name] = value;
    }
    return true;
}

int TakeFileAndOutput(const ParsedArguments& parsed, const std::string& command, std::string& file,
                      std::string& out) {
    if (parsed.positional.size() != 1)
        return UsageError(command, command + (parsed.positional.empty() ? " needs" : " takes") +
                                       " one recording FILE");
    if (!parsed.Has("-o") || parsed.Value("-o").empty())
        return UsageError(command, command + " needs -o OUT");
    file = parsed.positional[0];
    out = parsed.Value("-o");
    return -1;
}

int ParseGridAndBackground(const ParsedArguments& parsed, const std::string& command,
                           std::optional<bool>& grid, std::optional<bool>& background) {
    for (const char* name : {"--grid", "--background"}) {
        if (!parsed.Has(name)) continue;
        const std::optional<bool> on = ParseSwitch(parsed.Value(name));
        if (!on) return UsageError(command, std::string(name) + " takes on or off");
        (std::string(name) == "--grid" ? grid : background) = on;
    }
    return -1;
}

}  // namespace quil
