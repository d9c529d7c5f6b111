#include "run_tool.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "test_folder.h"

extern char** environ;

namespace quil::test {

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extraEnv) {
    auto name = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    std::vector<std::string> merged;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const std::string& extra : extraEnv)
            replaced = replaced || name(extra) == name(entry);
        if (!replaced) merged.push_back(entry);
    }
    merged.insert(merged.end(), extraEnv.begin(), extraEnv.end());
    return merged;
}

TSpawnVectors::TSpawnVectors(const std::string& program, const std::vector<std::string>& args,
                             const std::vector<std::string>& extraEnv)
    : argStrings_{program}, envStrings_(MergedEnvironment(extraEnv)) {
    argStrings_.insert(argStrings_.end(), args.begin(), args.end());
    for (std::string& a : argStrings_)
        argv_.push_back(a.data());
    argv_.push_back(nullptr);
    for (std::string& e : envStrings_)
        envp_.push_back(e.data());
    envp_.push_back(nullptr);
}

ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& extraEnv, const std::string& stdoutFile) {
    static int counter = 0;
    const std::string base =
        "/tmp/quil-cli-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    const std::string outPath = base + ".out", errPath = base + ".err";

    const TSpawnVectors spawn(program, args, extraEnv);

    // Output goes to files rather than pipes, so a large dump cannot block.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string& stdoutPath = stdoutFile.empty() ? outPath : stdoutFile;
    posix_spawn_file_actions_addopen(&actions, 1, stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    ToolRun run;
    pid_t pid;
    if (posix_spawnp(&pid, spawn.Argv()[0], &actions, nullptr, spawn.Argv(), spawn.Envp()) == 0) {
        int wstatus = 0;
        rusage usage{};
        wait4(pid, &wstatus, 0, &usage);
        if (WIFEXITED(wstatus)) run.status = WEXITSTATUS(wstatus);
        if (WIFSIGNALED(wstatus)) run.signal = WTERMSIG(wstatus);
        run.peakKilobytes = usage.ru_maxrss;
    }
    posix_spawn_file_actions_destroy(&actions);
    if (stdoutFile.empty()) run.out = quil::testing::ReadText(outPath);
    run.err = quil::testing::ReadText(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return run;
}

std::vector<std::string> VideoChildEnvironment() { return {"ASAN_OPTIONS=detect_leaks=0"}; }

const char* QuilBinary() { return QUIL_BINARY; }

ToolRun RunQuil(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv,
                const std::string& stdoutFile) {
    return RunProgram(QuilBinary(), args, extraEnv, stdoutFile);
}

ToolRun RunQuilLimited(const std::string& limit, const std::vector<std::string>& args) {
    std::vector<std::string> limited = {limit, "--", QuilBinary()};
    limited.insert(limited.end(), args.begin(), args.end());
    return RunProgram("prlimit", limited);
}

}  // namespace quil::test
