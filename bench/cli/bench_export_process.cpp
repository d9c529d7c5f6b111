// quil export and quil info as whole processes, the way scripts run them,
// on generated handwriting pages of 20,000, 200,000 and 1,000,000 points, an
// empty page and the demo page, side by side in the same run with:
// - cairo drawing the same strokes on a page of the same size, in a process
//   of its own: one round-capped outline per stroke, and one fill per disc
//   and per tangent quadrilateral (the shapes our renderer draws);
// - zlib's inflate of the packed stream alone, for quil info of a packed
//   recording;
// - with QUIL_BEFORE naming another build's quil, that quil on the same
//   files (before and after a change); QUIL names the quil measured, when
//   not this build's (a build without the video libraries, for example).
// Each figure is the median of five runs (ours and another build's taken in
// turns); ratios are read against the peers of the same run, which holds
// on a shared machine.

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cairo_strokes.h"
#include "handwriting_page.h"
#include "model/document.h"
#include "model/page_size.h"
#include "process_cost.h"
#include "recording_writer.h"

namespace {

namespace fs = std::filesystem;
using quil::bench::InChild;
using quil::bench::Median;
using quil::bench::RunMeasured;
using quil::bench::TProcessCost;
using quil::fixture::Bytes;

constexpr int kRuns = 5;
constexpr int kPageWidth = 1022, kPageHeight = 718;
const int kPointCounts[] = {20'000, 200'000, 1'000'000};

struct TFiles {
    fs::path folder;
    fs::path empty, demo = QUIL_DEMO_RECORDING;
    std::vector<fs::path> pages;  // one per kPointCounts
    fs::path packedMillion;

    TFiles() {
        folder =
            fs::temp_directory_path() / ("quil-bench-export-process-" + std::to_string(getpid()));
        fs::create_directories(folder);
        empty = folder / "empty.stk";
        for (int points : kPointCounts)
            pages.push_back(folder / ("page-" + std::to_string(points) + ".stk"));
        packedMillion = folder / "page-1000000-packed.stk";
        InChild(1, [&] {
            bool ok = quil::fixture::WriteFile(empty, quil::fixture::TRecordingWriter({}).Body());
            for (size_t i = 0; i < pages.size(); ++i) {
                const Bytes body = quil::bench::HandwritingBody(kPointCounts[i]);
                ok = ok && quil::fixture::WriteFile(pages[i], body);
                if (i + 1 == pages.size())
                    ok = ok && quil::fixture::WriteFile(packedMillion, quil::fixture::Packed(body));
            }
            return std::vector<double>{ok ? 1.0 : 0.0};
        });
    }
    ~TFiles() { fs::remove_all(folder); }
};

TFiles& Files() {
    static TFiles files;
    return files;
}

const char* Before() { return std::getenv("QUIL_BEFORE"); }

const char* Quil() {
    const char* named = std::getenv("QUIL");
    return named ? named : QUIL_TOOL;
}

// Cairo's outline and fill peers on the page of `file`: the median of
// kRuns of each, in seconds of wall time from a fresh white surface to the
// flushed drawing, measured in a child of its own.
std::vector<double> CairoPeers(const fs::path& file) {
    return InChild(2, [&] {
        quil::TPenReplayWT document(quil::kDefaultPageWidth, quil::kDefaultPageHeight);
        if (document.LoadFile(file) != 0) return std::vector<double>{};
        std::vector<double> outline, fill;
        for (int run = 0; run < kRuns; ++run) {
            for (auto draw : {quil::bench::DrawOutlines, quil::bench::DrawDiscsAndQuads}) {
                const auto start = std::chrono::steady_clock::now();
                cairo_surface_t* surface =
                    cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPageWidth, kPageHeight);
                cairo_t* cr = cairo_create(surface);
                cairo_set_source_rgb(cr, 1, 1, 1);
                cairo_paint(cr);
                draw(cr, document);
                cairo_surface_flush(surface);
                const double seconds =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                (draw == quil::bench::DrawOutlines ? outline : fill).push_back(seconds);
                cairo_destroy(cr);
                cairo_surface_destroy(surface);
            }
        }
        return std::vector<double>{Median(outline), Median(fill)};
    });
}

void Report(benchmark::State& state, const char* name, const std::vector<TProcessCost>& runs) {
    const TProcessCost m = Median(runs);
    if (!m.ok) state.SkipWithError((std::string(name) + " failed").c_str());
    state.counters[std::string(name) + "_s"] = m.wall;
    state.counters[std::string(name) + "_cpu_s"] = m.cpu;
    state.counters[std::string(name) + "_peak_MB"] = m.peak;
}

// quil export of `file` to a BMP at Best, the page's own size; with
// `peers`, cairo on the same strokes once the quil runs are done (a
// child's large allocations, freed just before a quil run, would slow that
// run's first touches of memory on some machines).
void MeasureExport(benchmark::State& state, const fs::path& file, bool peers) {
    const std::string out = (Files().folder / "out.bmp").string();
    const std::vector<std::string> args = {"export", file.string(), "-o", out};
    std::vector<TProcessCost> ours, before;
    for (auto _ : state) {
        for (int run = 0; run < kRuns; ++run) {
            ours.push_back(RunMeasured(Quil(), args));
            if (Before()) before.push_back(RunMeasured(Before(), args));
        }
    }
    Report(state, "quil", ours);
    const double quil = Median(ours).wall;
    if (Before()) {
        Report(state, "before", before);
        state.counters["x_before"] = quil / Median(before).wall;
    }
    if (!peers) return;
    const std::vector<double> cairo = CairoPeers(file);
    if (cairo.size() != 2) {
        state.SkipWithError("the cairo peer failed");
        return;
    }
    state.counters["outline_s"] = cairo[0];
    state.counters["fill_s"] = cairo[1];
    state.counters["x_outline"] = quil / cairo[0];
    state.counters["x_fill"] = quil / cairo[1];
}

void BM_ExportEmptyPage(benchmark::State& state) { MeasureExport(state, Files().empty, false); }
void BM_ExportDemoPage(benchmark::State& state) { MeasureExport(state, Files().demo, false); }
// Argument: the index into kPointCounts.
void BM_ExportHandwriting(benchmark::State& state) {
    state.SetLabel(std::to_string(kPointCounts[state.range(0)]) + " points");
    MeasureExport(state, Files().pages[size_t(state.range(0))], true);
}

// zlib's one-shot inflate of the packed million-point stream: the median
// of kRuns, measured in a child of its own once the quil runs are done (a
// child's large allocations, freed just before a quil run, would slow that
// run's first touches of memory on some machines).
double InflateAlone() {
    const std::vector<double> seconds = InChild(1, [] {
        const Bytes body = quil::bench::HandwritingBody(kPointCounts[2]);
        const Bytes block = quil::fixture::Packed(body);
        const Bytes stream = quil::fixture::Scramble(Bytes(block.begin() + 8, block.end()));
        Bytes out(body.size());
        std::vector<double> runs;
        for (int run = 0; run < kRuns; ++run) {
            uLongf length = uLongf(out.size());
            const auto start = std::chrono::steady_clock::now();
            const int status = uncompress(out.data(), &length, stream.data(), uLong(stream.size()));
            runs.push_back(status == Z_OK ? std::chrono::duration<double>(
                                                std::chrono::steady_clock::now() - start)
                                                .count()
                                          : -1.0);
        }
        return std::vector<double>{Median(runs)};
    });
    return seconds.empty() ? -1.0 : seconds[0];
}

// quil info of the million-point page; argument 1: the packed file, with
// inflate alone after it.
void BM_InfoMillion(benchmark::State& state) {
    const bool packed = state.range(0) != 0;
    const fs::path& file = packed ? Files().packedMillion : Files().pages.back();
    std::vector<TProcessCost> ours, before;
    for (auto _ : state) {
        for (int run = 0; run < kRuns; ++run) {
            ours.push_back(RunMeasured(Quil(), {"info", file.string()}));
            if (Before()) before.push_back(RunMeasured(Before(), {"info", file.string()}));
        }
    }
    Report(state, "quil", ours);
    if (Before()) {
        Report(state, "before", before);
        state.counters["x_before"] = Median(ours).wall / Median(before).wall;
    }
    if (packed) {
        const double inflate = InflateAlone();
        state.counters["inflate_s"] = inflate;
        state.counters["quil_minus_inflate_s"] = Median(ours).wall - inflate;
    }
}

BENCHMARK(BM_ExportEmptyPage)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ExportDemoPage)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ExportHandwriting)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_InfoMillion)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
