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

// This process's environment with the entries "NAME=value" of `extraEnv`
// added, each replacing an inherited entry of the same name.
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extraEnv);

// The argv and envp arrays posix_spawn takes for `program` with `args` and
// this process's environment merged with `extraEnv`; they own their strings.
class TSpawnVectors {
public:
    TSpawnVectors(const std::string& program, const std::vector<std::string>& args,
                  const std::vector<std::string>& extraEnv);
    TSpawnVectors(const TSpawnVectors&) = delete;
    TSpawnVectors& operator=(const TSpawnVectors&) = delete;

    char* const* Argv() const { return argv_.data(); }
    char* const* Envp() const { return envp_.data(); }

private:
    std::vector<std::string> argStrings_;
    std::vector<std::string> envStrings_;
    std::vector<char*> argv_;
    std::vector<char*> envp_;
};

// Runs `program` (looked up in PATH) with `args` (environment as given, plus
// `extraEnv` entries "NAME=value", which replace inherited ones), its output
// collected through files so that a large output cannot block it. With
// `stdoutFile` its standard output goes to that file instead (a device such as
// /dev/full too) and `out` stays empty. A program that cannot be started gives
// status -1.
ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& extraEnv = {},
                   const std::string& stdoutFile = {});

// The environment entries for a child that loads the video module. In the
// sanitizer build, LeakSanitizer's tracer crashes at exit on the dynamic
// thread-local storage of the libraries the module brings in (a fault of the
// sanitizer runtime with libraries loaded by dlopen), so such children run
// without leak detection; the writer's own tests link it in and keep it.
std::vector<std::string> VideoChildEnvironment();

// The path of build/quil.
const char* QuilBinary();

// Runs build/quil with `args`.
ToolRun RunQuil(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv = {},
                const std::string& stdoutFile = {});

// Runs build/quil with `args` under the resource limit `limit`, given as
// prlimit takes it ("--as=BYTES", "--fsize=BYTES").
ToolRun RunQuilLimited(const std::string& limit, const std::vector<std::string>& args);

}  // namespace quil::test
