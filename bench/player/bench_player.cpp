// The player's costs on a page of 200,000 pen points at Best, 1022 x 718.
// Figures are ratios against a baseline measured in the same process: the
// machine is shared and noisy, absolute times are not comparable.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <random>

#include "player/manual_timer.h"
#include "player/quil3_reader.h"
#include "recording_writer.h"

namespace quil {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// 2,000 strokes of 100 points each, wandering over the page with varied
// colours, widths and opacities, written once per run.
const std::filesystem::path& LongRecording() {
    static const std::filesystem::path path = [] {
        fixture::Header h;
        h.generation = fixture::Generation::Qui3;
        h.minor = 6;
        fixture::TRecordingWriter w(h);
        std::mt19937 rng(12345);
        std::uniform_real_distribution<double> px(20, 1000), py(20, 700), step(-6, 6),
            radius(0.5, 4);
        for (int s = 0; s < 2000; ++s) {
            std::vector<fixture::Point> points;
            double x = px(rng), y = py(rng);
            const double r = radius(rng);
            for (int i = 0; i < 100; ++i) {
                x = std::clamp(x + step(rng), 0.0, 1022.0);
                y = std::clamp(y + step(rng), 0.0, 718.0);
                points.push_back({x, y, i == 99 ? 0.0 : r});
            }
            w.Stroke(points,
                     {.color = uint32_t(rng() & 0xFFFFFF), .opacity = s % 3 == 0 ? 128u : 255u});
        }
        const auto file = std::filesystem::temp_directory_path() / "quil-bench-player.stk";
        fixture::WriteFile(file, w.Body());
        return file;
    }();
    return path;
}

struct TBenchPlayer {
    TManualTimerFactory timers;
    TQuil3Reader player{timers, nullptr, 0, 0};
    TBenchPlayer() {
        player.SetLayout(nullptr, 1022, 718, 1.0f, 0, 0);
        player.SetQuality(2);
    }
};

void BM_OpenAndShow(benchmark::State& state) {
    const auto& path = LongRecording();
    for (auto _ : state) {
        TBenchPlayer b;
        b.player.Open(path);
        b.player.Show(false);
        benchmark::DoNotOptimize(b.player.Position());
    }
}
BENCHMARK(BM_OpenAndShow)->Unit(benchmark::kMillisecond)->Iterations(3);

// One element back from the complete page through the erase box, against
// the redraw of the whole page up to the same position.
void BM_BackwardStepAgainstFullRedraw(benchmark::State& state) {
    TBenchPlayer b;
    b.player.Open(LongRecording());
    b.player.Show(false);
    const int count = b.player.ElementCount();
    double backward = 0, redraw = 0;
    for (auto _ : state) {
        b.player.GoTo(count, false);
        auto t0 = Clock::now();
        b.player.GoTo(count - 1, false);
        auto t1 = Clock::now();
        b.player.Rewind();
        b.player.GoTo(count - 1, false);
        auto t2 = Clock::now();
        backward += Seconds(t0, t1);
        redraw += Seconds(t1, t2);
        state.SetIterationTime(Seconds(t0, t1));
    }
    state.counters["backward_ms"] = 1000 * backward / state.iterations();
    state.counters["full_redraw_ms"] = 1000 * redraw / state.iterations();
    state.counters["speedup"] = redraw / backward;
}
BENCHMARK(BM_BackwardStepAgainstFullRedraw)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// One replay tick at step 38 (the fastest rate), against the 33 ms period
// of the replay timer.
void BM_ReplayTickAtStep38(benchmark::State& state) {
    TBenchPlayer b;
    b.player.Open(LongRecording());
    b.player.Show(false);
    b.player.SetReplayStep(38);
    b.player.Play();
    TManualTimer* replay = b.timers.WithInterval(33);
    double total = 0, worst = 0;
    for (auto _ : state) {
        if (!replay->Enabled()) b.player.Play();
        auto t0 = Clock::now();
        replay->Tick();
        auto t1 = Clock::now();
        const double s = Seconds(t0, t1);
        total += s;
        worst = std::max(worst, s);
        state.SetIterationTime(s);
    }
    const double mean = total / state.iterations();
    state.counters["tick_us"] = 1e6 * mean;
    state.counters["worst_tick_us"] = 1e6 * worst;
    state.counters["period_over_tick"] = 0.033 / mean;
}
BENCHMARK(BM_ReplayTickAtStep38)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(5000);

}  // namespace
}  // namespace quil
