#include "run_tool.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

extern char** environ;

namespace quil::test {

namespace {

std::string ReadAll(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

}  // namespace

ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& extraEnv) {
    static int counter = 0;
    const std::string base =
        "/tmp/quil-cli-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    const std::string outPath = base + ".out", errPath = base + ".err";

    std::vector<std::string> argStrings = {program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStrings)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e)
        envStrings.push_back(*e);
    envStrings.insert(envStrings.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (auto& e : envStrings)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    // Output goes to files rather than pipes, so a large dump cannot block.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    ToolRun run;
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
        int wstatus = 0;
        rusage usage{};
        wait4(pid, &wstatus, 0, &usage);
        if (WIFEXITED(wstatus)) run.status = WEXITSTATUS(wstatus);
        if (WIFSIGNALED(wstatus)) run.signal = WTERMSIG(wstatus);
        run.peakKilobytes = usage.ru_maxrss;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = ReadAll(outPath);
    run.err = ReadAll(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return run;
}

const char* QuilBinary() { return QUIL_BINARY; }

ToolRun RunQuil(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv) {
    return RunProgram(QuilBinary(), args, extraEnv);
}

}  // namespace quil::test
