#pragma once

// Runs the quil tool as a user would and collects what it prints.

#include <string>
#include <vector>

namespace quil::test {

struct ToolRun {
    int status = -1;  // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs build/quil with `args` (environment as given, plus `extraEnv`
// entries "NAME=value").
ToolRun RunQuil(const std::vector<std::string>& args,
                const std::vector<std::string>& extraEnv = {});

}  // namespace quil::test
