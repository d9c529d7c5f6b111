#pragma once

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

}  // namespace quil::bench
