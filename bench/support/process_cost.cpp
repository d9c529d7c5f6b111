#include "process_cost.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>

extern char** environ;

namespace quil::bench {

TProcessCost RunMeasured(const std::string& program, std::vector<std::string> args) {
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    TProcessCost cost;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        cost.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cost.cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
                   usage.ru_stime.tv_usec * 1e-6;
        cost.peak = usage.ru_maxrss / 1024.0;
        cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    posix_spawn_file_actions_destroy(&actions);
    return cost;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

TProcessCost Median(const std::vector<TProcessCost>& runs) {
    auto median = [&](double TProcessCost::*field) {
        std::vector<double> v;
        for (const TProcessCost& r : runs)
            v.push_back(r.*field);
        return Median(v);
    };
    TProcessCost cost;
    cost.wall = median(&TProcessCost::wall);
    cost.cpu = median(&TProcessCost::cpu);
    cost.peak = median(&TProcessCost::peak);
    cost.ok = !runs.empty() &&
              std::all_of(runs.begin(), runs.end(), [](const TProcessCost& r) { return r.ok; });
    return cost;
}

double SelfCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           1e-6 * double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

double SelfPeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

}  // namespace quil::bench
