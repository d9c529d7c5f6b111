#pragma once

// Runs the project's programs as a user would and collects what they print.

#include <string>
#include <vector>

namespace quil::test {

struct ToolRun {
    int status = -1;         // exit status, or -1 when it did not exit normally
    int signal = 0;          // the signal that ended it, when one did
    long peakKilobytes = 0;  // the most memory it held at once (resident)
    std::string out;
    std::string err;
};

// Runs `program` with `args` (environment as given, plus `extraEnv` entries
// "NAME=value"), its output collected through files so that a large output
// cannot block it.
ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& extraEnv = {});

// The path of build/quil.
const char* QuilBinary();

// Runs build/quil with `args`.
ToolRun RunQuil(const std::vector<std::string>& args,
                const std::vector<std::string>& extraEnv = {});

}  // namespace quil::test
