// Exports of a 1022 x 718 page and the SVGZ drawing of a 200,000-point
// recording. Each export is measured whole and in its parts (rendering,
// encoding, compression, writing) in the same run, and the plain copy of
// the page's pixels is the baseline the ratios are read against.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

#include <zlib.h>

#include "export/atomic_file.h"
#include "export/jpeg_writer.h"
#include "export/picture_export.h"
#include "export/png_writer.h"
#include "export/svg_document.h"
#include "export/svgz_writer.h"
#include "model/document.h"
#include "player/manual_timer.h"
#include "player/quil3_reader.h"
#include "recording_writer.h"

namespace quil {
namespace {

constexpr int kPageWidth = 1022;
constexpr int kPageHeight = 718;

// Handwriting-like strokes: wavy lines across the page, 100 points each.
std::unique_ptr<TPenReplayWT> MakeRecording(int points) {
    auto document = std::make_unique<TPenReplayWT>(kPageWidth, kPageHeight);
    const int perStroke = 100;
    for (int s = 0; s * perStroke < points; ++s) {
        document->penColor = uint32_t(s * 0x10305) & 0xFFFFFF;
        const float y0 = 20.0f + float((s * 37) % 680);
        const float x0 = float((s * 53) % 800);
        for (int i = 0; i < perStroke; ++i) {
            const float x = x0 + i * 2.0f;
            const float y = y0 + 8.0f * std::sin(i * 0.3f);
            document->AddPoint(x, y, i + 1 == perStroke ? 0.0f : 1.5f + 0.5f * std::sin(i * 0.1f));
        }
    }
    return document;
}

std::filesystem::path BenchFile(const char* name) {
    return std::filesystem::temp_directory_path() / name;
}

// A page of handwriting: 300 strokes of 100 points in several colours,
// written as a recording file and opened by a player, as an export sees it.
struct TBenchPage {
    TManualTimerFactory timers;
    TQuil3Reader player{timers, nullptr, 1, 1};
    TBitmap picture;

    TBenchPage() {
        fixture::TRecordingWriter writer(fixture::Header{});
        for (int s = 0; s < 300; ++s) {
            std::vector<fixture::Point> points;
            const double x0 = (s * 53) % 800, y0 = 20 + (s * 37) % 680;
            for (int i = 0; i < 100; ++i)
                points.push_back({x0 + i * 2.0, y0 + 8.0 * std::sin(i * 0.3),
                                  i == 99 ? 0.0 : 1.5 + std::sin(i * 0.1)});
            writer.Stroke(points, {.color = uint32_t(s * 0x10305) & 0xFFFFFF});
        }
        const auto path = BenchFile("quil-bench-export.stk");
        fixture::WriteFile(path, writer.Body());
        player.Open(path);
        player.Show(false);
        std::filesystem::remove(path);
        RenderExportPicture(player, kPageWidth, kPageHeight, true, picture);
    }
};

TBenchPage& Page() {
    static TBenchPage page;
    return page;
}

TBitmap MakePagePicture() { return Page().picture.Clone(); }

void BM_Baseline_CopyPage(benchmark::State& state) {
    const TBitmap page = MakePagePicture();
    TBitmap copy;
    copy.Create(kPageWidth, kPageHeight);
    for (auto _ : state) {
        std::memcpy(copy.Bits(), page.Bits(), page.ByteSize());
        benchmark::DoNotOptimize(copy.Bits());
    }
}
BENCHMARK(BM_Baseline_CopyPage)->Unit(benchmark::kMillisecond);

// Rendering alone: the page off screen at Best quality, page size.
void BM_RenderPage(benchmark::State& state) {
    TBitmap picture;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            RenderExportPicture(Page().player, kPageWidth, kPageHeight, true, picture));
}
BENCHMARK(BM_RenderPage)->Unit(benchmark::kMillisecond);

// Whole exports: render, encode, write.
void BM_SavePng(benchmark::State& state) {
    const auto path = BenchFile("quil-bench-export.png");
    for (auto _ : state)
        benchmark::DoNotOptimize(SavePng(Page().player, path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_SavePng)->Unit(benchmark::kMillisecond);

void BM_SaveJpeg(benchmark::State& state) {
    const auto path = BenchFile("quil-bench-export.jpg");
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveJpeg(Page().player, path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveJpeg)->Unit(benchmark::kMillisecond);

void BM_EncodePng(benchmark::State& state) {
    const TBitmap page = MakePagePicture();
    size_t bytes = 0;
    for (auto _ : state)
        bytes = EncodePngRgb(page).size();
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMillisecond);

void BM_EncodeJpeg(benchmark::State& state) {
    const TBitmap page = MakePagePicture();
    size_t bytes = 0;
    for (auto _ : state)
        bytes = EncodeJpeg(page).size();
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_EncodeJpeg)->Unit(benchmark::kMillisecond);

// Writing a finished file: temporary file, flush to disk, rename.
void BM_WritePngFile(benchmark::State& state) {
    const std::vector<uint8_t> png = EncodePngRgb(MakePagePicture());
    const auto path = BenchFile("quil-bench-export.png");
    for (auto _ : state)
        benchmark::DoNotOptimize(ReplaceFileContents(path, png));
    std::filesystem::remove(path);
}
BENCHMARK(BM_WritePngFile)->Unit(benchmark::kMillisecond);

// The same through a named temporary file, the road of file systems that
// have no unnamed files, against the unnamed file linked in above.
void BM_WritePngFileNamed(benchmark::State& state) {
    const std::vector<uint8_t> png = EncodePngRgb(MakePagePicture());
    const auto path = BenchFile("quil-bench-export-named.png");
    for (auto _ : state) {
        TReplacementFile file;
        benchmark::DoNotOptimize(file.CreateNamed(path) && file.Write(png.data(), png.size()) &&
                                 file.Commit());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_WritePngFileNamed)->Unit(benchmark::kMillisecond);

void BM_SvgText200k(benchmark::State& state) {
    const auto document = MakeRecording(200000);
    size_t bytes = 0;
    for (auto _ : state) {
        TSvgStream text;
        WriteSvgDocument(*document, text);
        bytes = text.Text().size();
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_SvgText200k)->Unit(benchmark::kMillisecond);

// Compression alone: the same text through deflate at level 9 in memory.
void BM_SvgCompress200k(benchmark::State& state) {
    const auto document = MakeRecording(200000);
    TSvgStream text;
    WriteSvgDocument(*document, text);
    std::vector<Bytef> out(compressBound(uLong(text.Text().size())));
    uLongf outSize = 0;
    for (auto _ : state) {
        outSize = uLongf(out.size());
        compress2(out.data(), &outSize, reinterpret_cast<const Bytef*>(text.Text().data()),
                  uLong(text.Text().size()), 9);
    }
    state.counters["bytes"] = double(outSize);
}
BENCHMARK(BM_SvgCompress200k)->Unit(benchmark::kMillisecond);

void BM_SvgzFile200k(benchmark::State& state) {
    const auto document = MakeRecording(200000);
    const auto path = BenchFile("quil-bench-export.svgz");
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteSvgzFile(*document, path));
    state.counters["bytes"] = double(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_SvgzFile200k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quil
