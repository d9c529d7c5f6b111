// quil thumbnail of a recording of 1,000,000 points, plain and packed, at
// the sizes file managers ask for, each run as its own process like the
// desktop's thumbnailer. The baseline is quil info of the same file in the
// same run: loading the recording and nothing else. Each benchmark reports
// its wall time, its CPU time and its peak memory, and both as multiples of
// the baseline's.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "process_cost.h"
#include "recording_writer.h"

namespace {

namespace fs = std::filesystem;
using quil::bench::Median;
using quil::bench::RunMeasured;
using quil::bench::TProcessCost;
using quil::fixture::Bytes;

constexpr int kPoints = 1'000'000;
constexpr int kPointsPerStroke = 100;

// Handwriting-like waves across a 1022 x 718 page in many colours.
Bytes MillionPointBody() {
    quil::fixture::Header header;
    header.pointScale = 100;  // minor 8: integer points in hundredths
    quil::fixture::TRecordingWriter writer(header);
    std::vector<quil::fixture::Point> points(kPointsPerStroke);
    for (int s = 0; s < kPoints / kPointsPerStroke; ++s) {
        const double x0 = (s * 53) % 800, y0 = 20 + (s * 37) % 680;
        for (int i = 0; i < kPointsPerStroke; ++i)
            points[size_t(i)] = {x0 + i * 2.0, y0 + 8.0 * std::sin(i * 0.3),
                                 i + 1 == kPointsPerStroke ? 0.0 : 1.5 + 0.5 * std::sin(i * 0.1)};
        writer.Stroke(points, {.color = uint32_t(s * 0x10305) & 0xFFFFFF});
    }
    return writer.Body();
}

struct TFiles {
    fs::path plain, packed, out;

    TFiles() {
        const fs::path folder = fs::temp_directory_path();
        const std::string tag = std::to_string(getpid());
        plain = folder / ("quil-bench-thumbnail-" + tag + ".stk");
        packed = folder / ("quil-bench-thumbnail-packed-" + tag + ".stk");
        out = folder / ("quil-bench-thumbnail-" + tag + ".png");
        // A child process writes the files: this process stays small.
        quil::bench::InChild(1, [&] {
            const Bytes body = MillionPointBody();
            const bool written = quil::fixture::WriteFile(plain, body) &&
                                 quil::fixture::WriteFile(packed, quil::fixture::Packed(body));
            return std::vector<double>{written ? 1.0 : 0.0};
        });
    }
    ~TFiles() {
        fs::remove(plain);
        fs::remove(packed);
        fs::remove(out);
    }
};

TFiles& Files() {
    static TFiles files;
    return files;
}

// Runs quil with the arguments, output to /dev/null, and measures it.
TProcessCost RunQuil(std::vector<std::string> args) { return RunMeasured(QUIL_TOOL, args); }

// quil info of the file: the median of five runs, measured once per file.
const TProcessCost& Baseline(const fs::path& file) {
    static std::vector<std::pair<fs::path, TProcessCost>> baselines;
    for (const auto& [path, cost] : baselines)
        if (path == file) return cost;
    std::vector<TProcessCost> runs;
    for (int i = 0; i < 5; ++i)
        runs.push_back(RunQuil({"info", file.string()}));
    TProcessCost cost = Median(runs);
    cost.ok = true;
    baselines.emplace_back(file, cost);
    return baselines.back().second;
}

void Report(benchmark::State& state, const fs::path& file, double wall, double cpu, double peak,
            int runs) {
    const TProcessCost& base = Baseline(file);
    state.counters["cpu_s"] = cpu / runs;
    state.counters["peak_MB"] = peak;
    state.counters["wall_x_info"] = wall / runs / base.wall;
    state.counters["cpu_x_info"] = cpu / runs / base.cpu;
    state.counters["peak_x_info"] = peak / base.peak;
    state.counters["info_wall_s"] = base.wall;
    state.counters["info_peak_MB"] = base.peak;
}

void Measure(benchmark::State& state, const fs::path& file, std::vector<std::string> args) {
    double wall = 0, cpu = 0, peak = 0;
    int runs = 0;
    for (auto _ : state) {
        const TProcessCost cost = RunQuil(args);
        if (!cost.ok) {
            state.SkipWithError("quil failed");
            return;
        }
        state.SetIterationTime(cost.wall);
        wall += cost.wall;
        cpu += cost.cpu;
        peak = std::max(peak, cost.peak);
        ++runs;
    }
    Report(state, file, wall, cpu, peak, runs);
}

void BM_Info(benchmark::State& state) {
    const fs::path& file = state.range(0) ? Files().packed : Files().plain;
    Measure(state, file, {"info", file.string()});
}

// Arguments: the thumbnail's size, and 1 for the packed file.
void BM_Thumbnail(benchmark::State& state) {
    const fs::path& file = state.range(1) ? Files().packed : Files().plain;
    Measure(state, file,
            {"thumbnail", file.string(), Files().out.string(), std::to_string(state.range(0))});
}

BENCHMARK(BM_Info)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Thumbnail)
    ->Args({128, 0})
    ->Args({256, 0})
    ->Args({512, 0})
    ->Args({1024, 0})
    ->Args({256, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
