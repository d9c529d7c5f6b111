// Loading a recording of 1,000,000 points, plain and packed, against zlib's
// inflate of the same stream alone (the baseline a packed load adds).

#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <vector>

#include "model/document.h"
#include "model/page_size.h"
#include "platform/memory_budget.h"
#include "recording_writer.h"

namespace {

using quil::fixture::Bytes;

constexpr int kPoints = 1'000'000;
constexpr int kPointsPerStroke = 200;

struct Files {
    std::filesystem::path plain, packed;
    Bytes body;
    Bytes stream;  // the zlib stream of the packed block, unscrambled

    Files() {
        quil::fixture::Header header;
        header.minor = 6;  // float points, 16 bytes each
        quil::fixture::TRecordingWriter writer(header);
        std::vector<quil::fixture::Point> points(kPointsPerStroke);
        for (int s = 0; s < kPoints / kPointsPerStroke; ++s) {
            for (int i = 0; i < kPointsPerStroke; ++i)
                points[size_t(i)] = {double(s % 900) + i * 0.37, 50 + (i * 7 % 600) * 0.9,
                                     i + 1 == kPointsPerStroke ? 0.0 : 1.0 + (i % 5) * 0.25};
            writer.Stroke(points, {.color = uint32_t(s * 2654435761u) & 0xFFFFFF});
        }
        body = writer.Body();
        const auto folder = std::filesystem::temp_directory_path();
        const std::string tag = std::to_string(getpid());
        plain = folder / ("quil-bench-plain-" + tag + ".stk");
        packed = folder / ("quil-bench-packed-" + tag + ".stk");
        quil::fixture::WriteFile(plain, body);
        Bytes block = quil::fixture::Packed(body);
        quil::fixture::WriteFile(packed, block);
        stream = quil::fixture::Scramble(Bytes(block.begin() + 8, block.end()));
    }
    ~Files() {
        std::filesystem::remove(plain);
        std::filesystem::remove(packed);
    }
};

Files& TheFiles() {
    static Files files;
    return files;
}

void BM_LoadPlain(benchmark::State& state) {
    Files& files = TheFiles();
    for (auto _ : state) {
        quil::TPenReplayWT document(quil::kDefaultPageWidth, quil::kDefaultPageHeight);
        int code = document.LoadFile(files.plain);
        if (code != 0 || document.ElementCount() != kPoints / kPointsPerStroke)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(document.firstElement);
        state.counters["points_MB"] = double(document.PointBytes()) / 1e6;
    }
    state.counters["points"] = kPoints;
}

void BM_LoadPacked(benchmark::State& state) {
    Files& files = TheFiles();
    for (auto _ : state) {
        quil::TPenReplayWT document(quil::kDefaultPageWidth, quil::kDefaultPageHeight);
        if (document.LoadFile(files.packed) != 0) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(document.firstElement);
    }
}

// The baseline: zlib's one-shot inflate of the same stream into a buffer of
// the known size.
void BM_InflateAlone(benchmark::State& state) {
    Files& files = TheFiles();
    Bytes out(files.body.size());
    for (auto _ : state) {
        uLongf length = uLongf(out.size());
        if (uncompress(out.data(), &length, files.stream.data(), uLong(files.stream.size())) !=
            Z_OK)
            state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.data());
    }
}

// What a load spends once on weighing its points: reading the memory the
// process may still take.
void BM_AllocatableBytes(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(quil::AllocatableBytes());
}

}  // namespace

BENCHMARK(BM_AllocatableBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InflateAlone)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_LoadPlain)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_LoadPacked)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_MAIN();
