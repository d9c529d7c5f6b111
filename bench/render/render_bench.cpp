// Each benchmark times our operation and its baseline alternately within
// the same iterations and reports both and their ratio, so the figures hold
// on a shared, noisy machine.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "cairo_strokes.h"
#include "render/bulk_drawing.h"
#include "render/fuzzy_line_gdi_16x.h"

namespace quil {
namespace {

constexpr int kWidth = 1022, kHeight = 718;

using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point a, TClock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// Reads every byte of the work surface once; the sum keeps the loads alive.
uint64_t ReadOnce(TFuzzyLineGDI& r) {
    uint64_t sum = 0;
    const int bytes = 3 * r.GetWorkWidth();
    for (int y = 0; y < r.GetWorkHeight(); ++y) {
        const uint64_t* p = reinterpret_cast<const uint64_t*>(r.WorkRow(y));
        for (int i = 0; i < bytes / 8; ++i)
            sum += p[i];
    }
    return sum;
}

void BM_ResolveAllAgainstPlainRead(benchmark::State& state) {
    TFuzzyLineGDI16X r(nullptr, kWidth, kHeight);
    r.Clear();
    double ours = 0, base = 0;
    for (auto _ : state) {
        const auto t0 = TClock::now();
        r.ResolveAll();
        const auto t1 = TClock::now();
        benchmark::DoNotOptimize(ReadOnce(r));
        const auto t2 = TClock::now();
        ours += Seconds(t0, t1);
        base += Seconds(t1, t2);
        benchmark::ClobberMemory();
    }
    state.counters["resolve_ms"] = 1e3 * ours / double(state.iterations());
    state.counters["read_ms"] = 1e3 * base / double(state.iterations());
    state.counters["ratio"] = ours / base;
}
BENCHMARK(BM_ResolveAllAgainstPlainRead)->Unit(benchmark::kMillisecond)->Iterations(20);

// Pen strokes wandering over the page: steps of 0.5 to 4 pixels in random
// directions, radii 0.5 to 3 pixels, a new stroke every 100 points.
std::vector<PenSegment> Page(int count) {
    std::mt19937 rng(20261210);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<PenSegment> out;
    out.reserve(size_t(count));
    float x = 100, y = 100, r = 1;
    for (int i = 0; i < count; ++i) {
        if (i % 100 == 0) {
            x = 10 + unit(rng) * (kWidth - 20);
            y = 10 + unit(rng) * (kHeight - 20);
            r = 0.5f + 2.5f * unit(rng);
        }
        const float angle = 6.2831853f * unit(rng), step = 0.5f + 3.5f * unit(rng);
        const float nx = std::clamp(x + step * std::cos(angle), 4.0f, kWidth - 4.0f);
        const float ny = std::clamp(y + step * std::sin(angle), 4.0f, kHeight - 4.0f);
        const float nr = 0.5f + 2.5f * unit(rng);
        out.push_back({x, y, r, nx, ny, nr});
        x = nx;
        y = ny;
        r = nr;
    }
    return out;
}

// The end disc and the outer-tangent quadrilateral of a segment as one
// cairo path (non-zero fill), in the renderer's geometry.
void AddSegmentPath(cairo_t* cr, const PenSegment& s) {
    bench::AddDisc(cr, s.x1, s.y1, s.r1);
    bench::AddTangentQuad(cr, s);
}

void BM_PageOfSegmentsAgainstCairo(benchmark::State& state) {
    const std::vector<PenSegment> page = Page(int(state.range(0)));
    TFuzzyLineGDI16X r(nullptr, kWidth, kHeight);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    double ours = 0, base = 0;
    for (auto _ : state) {
        r.Clear();
        r.SetColor(MakeColor(20, 30, 200));
        r.SetOpacity(200);
        const auto t0 = TClock::now();
        for (const PenSegment& s : page)
            r.DrawSegment(&s);
        const auto t1 = TClock::now();
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_set_source_rgba(cr, 200 / 255.0, 30 / 255.0, 20 / 255.0, 200 / 256.0);
        const auto t2 = TClock::now();
        for (const PenSegment& s : page) {
            AddSegmentPath(cr, s);
            cairo_fill(cr);
        }
        cairo_surface_flush(surface);
        const auto t3 = TClock::now();
        ours += Seconds(t0, t1);
        base += Seconds(t2, t3);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    state.counters["ours_ms"] = 1e3 * ours / double(state.iterations());
    state.counters["cairo_ms"] = 1e3 * base / double(state.iterations());
    state.counters["ratio"] = ours / base;
}
BENCHMARK(BM_PageOfSegmentsAgainstCairo)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same page drawn at once (no resolve per segment, one at the end),
// in as many bands as the argument says, against cairo's fill again.
void BM_PageOfSegmentsAtOnceAgainstCairo(benchmark::State& state) {
    const std::vector<PenSegment> page = Page(200000);
    const int bands = int(state.range(0));
    TFuzzyLineGDI16X r(nullptr, kWidth, kHeight);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    double ours = 0, base = 0;
    for (auto _ : state) {
        r.Clear();
        const auto t0 = TClock::now();
        {
            TBulkDrawing bulk(r, bands);
            bulk.Run([&](TStrokePainter& painter) {
                painter.SetColor(MakeColor(20, 30, 200));
                painter.SetOpacity(200);
                for (const PenSegment& s : page)
                    painter.DrawSegment(&s);
            });
            bulk.ResolveChanged();
        }
        const auto t1 = TClock::now();
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_set_source_rgba(cr, 200 / 255.0, 30 / 255.0, 20 / 255.0, 200 / 256.0);
        const auto t2 = TClock::now();
        for (const PenSegment& s : page) {
            AddSegmentPath(cr, s);
            cairo_fill(cr);
        }
        cairo_surface_flush(surface);
        const auto t3 = TClock::now();
        ours += Seconds(t0, t1);
        base += Seconds(t2, t3);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    state.counters["ours_ms"] = 1e3 * ours / double(state.iterations());
    state.counters["cairo_ms"] = 1e3 * base / double(state.iterations());
    state.counters["ratio"] = ours / base;
}
BENCHMARK(BM_PageOfSegmentsAtOnceAgainstCairo)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace quil

BENCHMARK_MAIN();
