// A replay of a page of 200,000 pen points written as a video: 1022 x 718
// at Best, rate 9 (38 points per tick), 30 frames per second. Figures are
// frames per second, the video's length over the time it took to make
// (how many times faster than real time), the cost against the replay
// alone in the same process, and the process's peak memory.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <random>

#include "player/replay_rates.h"
#include "process_cost.h"
#include "recording_writer.h"
#include "video/frame_clock.h"
#include "video/replay_frames.h"
#include "video/replay_video_writer.h"

namespace quil {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// Handwriting-like lines: 2,000 strokes of 100 points, loops running along
// 20 lines of the page in a few ink colours, written once per run.
const std::filesystem::path& LongPage() {
    static const std::filesystem::path path = [] {
        fixture::Header h;
        h.generation = fixture::Generation::Qui3;
        h.minor = 6;
        fixture::TRecordingWriter w(h);
        std::mt19937 rng(2024);
        std::uniform_real_distribution<double> wobble(-0.6, 0.6), width(0.8, 2.2);
        const uint32_t inks[] = {0x000000, 0x8B0000, 0x00008B, 0x006400};
        for (int s = 0; s < 2000; ++s) {
            const int line = s / 100 % 20, slot = s % 100;
            const double x0 = 20 + slot * 9.8, y0 = 30 + line * 34.0, r = width(rng);
            std::vector<fixture::Point> points;
            for (int i = 0; i < 100; ++i) {
                const double t = i * 0.19;
                points.push_back({x0 + t * 1.2 + 4 * std::sin(t) + wobble(rng),
                                  y0 - 8 * std::cos(t) + wobble(rng), i == 99 ? 0.0 : r});
            }
            w.Stroke(points, {.color = inks[s % 4]});
        }
        const auto file = std::filesystem::temp_directory_path() / "quil-bench-video.stk";
        fixture::WriteFile(file, w.Body());
        return file;
    }();
    return path;
}

TReplayVideoOptions PageOptions(TVideoType type) {
    TReplayVideoOptions o;
    o.type = type;
    o.width = 1022;
    o.height = 718;
    o.step = ReplayStepForRate(9);
    o.fps = 30;
    return o;
}

// The replay alone: the same frames, taken from the display and dropped.
double gReplaySeconds = 0;
double gReplayCpu = 0;

void BM_ReplayFramesAlone(benchmark::State& state) {
    const TReplayVideoOptions o = PageOptions(TVideoType::Mp4);
    int64_t frames = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double cpu0 = bench::SelfCpuSeconds();
        const auto t0 = Clock::now();
        TReplayFrames counting(o);
        counting.Open(LongPage());
        const int64_t ticks = counting.RunToEnd();
        frames = ReplayFrameCount(ticks, o.fps) + HoldFrameCount(o.holdSeconds, o.fps);
        TReplayFrames replay(o);
        replay.Open(LongPage());
        uint64_t sum = 0;
        for (int64_t i = 0; i < frames; ++i) {
            replay.AdvanceTo(std::min(TicksDueAtFrame(i, o.fps), ticks));
            sum += replay.Display().ScanLine(0)[0];
        }
        benchmark::DoNotOptimize(sum);
        gReplaySeconds = Seconds(t0, Clock::now());
        cpu = bench::SelfCpuSeconds() - cpu0;
        state.SetIterationTime(gReplaySeconds);
    }
    gReplayCpu = cpu;
    state.counters["cpu_s"] = cpu;
    state.counters["frames"] = double(frames);
    state.counters["frames_per_s"] = double(frames) / gReplaySeconds;
    state.counters["peak_MB"] = bench::SelfPeakMegabytes();
}
BENCHMARK(BM_ReplayFramesAlone)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

void WriteVideo(benchmark::State& state, TVideoType type, const char* name) {
    const auto out = std::filesystem::temp_directory_path() / name;
    int64_t frames = 0;
    double seconds = 0, cpu = 0;
    for (auto _ : state) {
        TReplayVideoWriter writer(PageOptions(type));
        const double cpu0 = bench::SelfCpuSeconds();
        const auto t0 = Clock::now();
        const TVideoResult result = writer.Write(LongPage(), out);
        seconds = Seconds(t0, Clock::now());
        cpu = bench::SelfCpuSeconds() - cpu0;
        state.SetIterationTime(seconds);
        if (result != TVideoResult::Done) state.SkipWithError(writer.Message().c_str());
        frames = writer.FrameCount();
    }
    const double videoSeconds = double(frames) / 30.0;
    state.counters["frames"] = double(frames);
    state.counters["frames_per_s"] = double(frames) / seconds;
    state.counters["video_s"] = videoSeconds;
    state.counters["times_real_time"] = videoSeconds / seconds;
    // The same by CPU time: what a machine to itself would reach on one core.
    state.counters["cpu_s"] = cpu;
    state.counters["times_real_time_per_core"] = videoSeconds / cpu;
    if (gReplaySeconds > 0) state.counters["over_replay_alone"] = seconds / gReplaySeconds;
    if (gReplayCpu > 0) state.counters["cpu_over_replay_alone"] = cpu / gReplayCpu;
    state.counters["file_MB"] = double(std::filesystem::file_size(out)) / (1024.0 * 1024.0);
    state.counters["peak_MB"] = bench::SelfPeakMegabytes();
    std::filesystem::remove(out);
}

void BM_WriteMp4(benchmark::State& state) { WriteVideo(state, TVideoType::Mp4, "quil-bench.mp4"); }
BENCHMARK(BM_WriteMp4)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace quil
