#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/document.h"

namespace quil {

// Exit statuses shared by every subcommand (1 to 6 are the load codes).
constexpr int kExitOk = 0;
constexpr int kExitRefused = 7;
constexpr int kExitUsage = 64;
constexpr int kExitOutput = 70;

// The message of exit status 7 for a picture whose surfaces would not fit
// in the memory the process may take.
constexpr char kPageTooLarge[] = "the page is too large at this zoom or size";

// Opens FILE exactly as the viewer's Open does: a file that ends with the
// appended-recording trailer loads its appended body, any other file loads
// as a plain or packed recording. Returns the load result code; tells
// whether the trailer was there.
int OpenRecording(TPenReplayWT& document, const std::filesystem::path& file,
                  bool* selfContained = nullptr);

// The English message of a non-zero load result code.
const char* LoadMessage(int code);

// Writes "quil: FILE: MESSAGE" (and " (code N)" when code > 0) to stderr.
void PrintFileError(const std::string& file, const std::string& message, int code = 0);
// Writes the one line "quil: MESSAGE (see 'quil COMMAND --help')" to stderr;
// returns 64.
int UsageError(const std::string& command, const std::string& message);

// The usage rules of an output OUT for the recording FILE: "-" (standard
// output) must not be a terminal, and OUT must not be FILE itself by any
// path (the same file on the same device). Returns -1 to go on, or 64
// after the one line.
int CheckOutput(const std::string& command, const std::string& file, const std::string& out);

// The one line of an output that could not be written, naming the reason
// `error` (errno), or the one the last write of this thread failed for;
// returns 70.
int OutputError(const std::string& file, const std::string& out, int error);
int OutputError(const std::string& file, const std::string& out);

// Opens FILE into `document`; on failure prints the error line and returns
// the load code, else 0.
int OpenOrReport(TPenReplayWT& document, const std::string& file, bool* selfContained = nullptr);

// A small parser for "-o OUT", "--name VALUE", "--name=VALUE", flags and
// positional arguments; "--" ends the options.
struct OptionSpec {
    std::string name;  // "-o", "--type", "--fit"
    bool takesValue = false;
};

struct ParsedArguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;  // flags map to ""
    bool help = false;                          // -h or --help was given

    bool Has(const std::string& name) const { return values.count(name) != 0; }
    std::string Value(const std::string& name, const std::string& otherwise = {}) const {
        auto found = values.find(name);
        return found == values.end() ? otherwise : found->second;
    }
};

// Parses argv[1 .. argc-1]. Returns false with `error` set on an unknown
// option, a missing value or an option given twice.
bool ParseArguments(int argc, char** argv, const std::vector<OptionSpec>& specs,
                    ParsedArguments& parsed, std::string& error);

// Takes the one recording FILE and the non-empty `-o OUT` every writing
// subcommand needs. Returns -1 to go on, or the usage status to end with.
int TakeFileAndOutput(const ParsedArguments& parsed, const std::string& command, std::string& file,
                      std::string& out);

// Reads `--grid on|off` and `--background on|off` where given. Returns -1 to
// go on, or the usage status to end with.
int ParseGridAndBackground(const ParsedArguments& parsed, const std::string& command,
                           std::optional<bool>& grid, std::optional<bool>& background);

}  // namespace quil
