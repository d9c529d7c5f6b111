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
#include "export/png_writer.h"
#include "export/svg_document.h"
#include "export/svgz_writer.h"
#include "model/document.h"

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

// A page-sized picture with the look of an exported page: white paper and
// dark writing, which is what the encoders see.
TBitmap MakePagePicture() {
    TBitmap page;
    page.Create(kPageWidth, kPageHeight);
    for (int y = 0; y < kPageHeight; ++y) {
        uint8_t* row = page.ScanLine(y);
        for (int x = 0; x < kPageWidth; ++x)
            if ((y / 3 + x / 40) % 7 == 0 && std::abs(int(10 * std::sin(x * 0.05)) - y % 24) < 3) {
                row[3 * x] = 0x80;
                row[3 * x + 1] = 0x20;
                row[3 * x + 2] = 0x10;
            }
    }
    return page;
}

std::filesystem::path BenchFile(const char* name) {
    return std::filesystem::temp_directory_path() / name;
}

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
