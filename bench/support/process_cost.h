#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace quil::bench {

// What one run of a program cost.
struct TProcessCost {
    double wall = 0;  // seconds
    double cpu = 0;   // user + system seconds
    double peak = 0;  // peak resident memory, MB
    bool ok = false;  // exited with status 0
};

// Runs `program` with `args`, its standard output to /dev/null, and
// measures it. The kernel reports a spawned program's peak memory as at
// least its parent's, so the measuring process must stay small.
TProcessCost RunMeasured(const std::string& program, std::vector<std::string> args);

// The median of each field over the runs (ok when all were).
TProcessCost Median(const std::vector<TProcessCost>& runs);

// The median of plain values.
double Median(std::vector<double> values);

// This process's CPU time so far, user and system, all threads.
double SelfCpuSeconds();
// This process's peak resident memory so far, MB.
double SelfPeakMegabytes();

// Runs `work` in a child process and hands back the `count` doubles it
// returned (none when it failed), so that what the child allocates never
// raises this process's peak memory, which the kernel passes on to the
// programs it spawns.
template <class Work>
std::vector<double> InChild(size_t count, Work work) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const std::vector<double> values = work();
        const bool sent = write(fds[1], values.data(), values.size() * sizeof(double)) ==
                          ssize_t(values.size() * sizeof(double));
        _exit(sent ? 0 : 1);
    }
    close(fds[1]);
    std::vector<double> values(count);
    const ssize_t got = pid > 0 ? read(fds[0], values.data(), count * sizeof(double)) : -1;
    close(fds[0]);
    int status = 0;
    if (pid > 0) waitpid(pid, &status, 0);
    if (got != ssize_t(count * sizeof(double)) || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return values;
}

}  // namespace quil::bench
