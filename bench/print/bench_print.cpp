// Printing a page-sized picture through the Qt printer into a PDF file:
// our printer (the picture drawn from its own rows, no copy) against the
// same Qt road with a top-down copy of the picture first, and a plain copy
// of the pixels as the baseline the ratios are read against. Also the
// print dialog's zoom step, which rebuilds the placed picture, and the
// print rendering of a whole page of 200,000 points at the three
// qualities, against the off-screen rendering of the same page at its own
// size (the picture export), with the memory each takes at its peak.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "model/document.h"
#include "picture_decoders.h"
#include "player/print_render.h"
#include "print/paper_placement.h"
#include "print/qt_picture.h"
#include "print/qt_printer.h"
#include "process_cost.h"
#include "render/fuzzy_line_gdi.h"

namespace quil {
namespace {

const std::filesystem::path kPdf = std::filesystem::temp_directory_path() / "bench_print.pdf";

void MakePdfPrinter(QPrinter& printer, int dpi) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(kPdf.string()));
    printer.setResolution(dpi);
    printer.setPageSize(QPageSize(QPageSize::A4));
}

void ReportPeak(benchmark::State& state) {
    state.counters["peak_MB"] = quil::bench::SelfPeakMegabytes();
}

// The printable area of an A4 page at the given resolution, filled.
void BM_PrintPicture(benchmark::State& state) {
    QPrinter printer(QPrinter::HighResolution);
    MakePdfPrinter(printer, int(state.range(0)));
    TQtPrinter adapter(printer);
    const TBitmap picture = testing::MakePatternPicture(adapter.PageWidth(), adapter.PageHeight());
    for (auto _ : state) {
        adapter.BeginDoc();
        adapter.StretchPicture({0, 0, picture.Width(), picture.Height()}, picture);
        benchmark::DoNotOptimize(adapter.EndDoc());
    }
    state.counters["pixels"] = double(picture.Width()) * picture.Height();
    state.counters["PDF_MB"] = double(std::filesystem::file_size(kPdf)) / 1e6;
    ReportPeak(state);
}
BENCHMARK(BM_PrintPicture)->Arg(150)->Arg(300)->Unit(benchmark::kMillisecond);

// The peer: the same page drawn from a top-down copy of the picture.
void BM_PrintCopiedImage(benchmark::State& state) {
    QPrinter printer(QPrinter::HighResolution);
    MakePdfPrinter(printer, int(state.range(0)));
    const TBitmap picture = testing::MakePatternPicture(printer.width(), printer.height());
    for (auto _ : state) {
        QPainter painter(&printer);
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        painter.drawImage(QRect(0, 0, picture.Width(), picture.Height()), ToQImage(picture));
        benchmark::DoNotOptimize(painter.end());
    }
    ReportPeak(state);
}
BENCHMARK(BM_PrintCopiedImage)->Arg(150)->Arg(300)->Unit(benchmark::kMillisecond);

// The baseline: one copy of the picture's bytes.
void BM_CopyPicture(benchmark::State& state) {
    QPrinter printer(QPrinter::HighResolution);
    MakePdfPrinter(printer, int(state.range(0)));
    const TBitmap picture = testing::MakePatternPicture(printer.width(), printer.height());
    TBitmap copy;
    copy.Create(picture.Width(), picture.Height());
    for (auto _ : state) {
        std::memcpy(copy.Bits(), picture.Bits(), picture.ByteSize());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyPicture)->Arg(150)->Arg(300)->Unit(benchmark::kMillisecond);

// One step of the zoom track bar with the whole preview chosen on A4.
void BM_ZoomStep(benchmark::State& state) {
    TBitmap preview = testing::MakePatternPicture(kAreaPreviewWidth, kAreaPreviewHeight);
    TPaperPlacement placement;
    placement.UpdatePaper(4960, 7016);
    placement.TakeArea(preview, {});
    placement.ResetPlacement();
    int position = kZoomMaxPosition;
    for (auto _ : state) {
        position = position == kZoomMaxPosition ? kZoomMaxPosition - 1 : kZoomMaxPosition;
        placement.SetZoomPosition(position);
    }
}
BENCHMARK(BM_ZoomStep)->Unit(benchmark::kMicrosecond);

// ---- Print rendering ----------------------------------------------------

// 2,000 strokes of 100 points over a 1022 x 718 page.
const TPenReplayWT& LongPage() {
    static const std::unique_ptr<TPenReplayWT> document = [] {
        auto d = std::make_unique<TPenReplayWT>(1022, 718);
        for (int s = 0; s < 2000; ++s) {
            d->SetPenColor(uint32_t(s * 0x10305) & 0xFFFFFF);
            const float y0 = 20.0f + float((s * 37) % 680), x0 = float((s * 53) % 800);
            for (int i = 0; i < 100; ++i)
                d->AddPoint(x0 + i * 2.0f, y0 + 8.0f * std::sin(i * 0.3f),
                            i == 99 ? 0.0f : 1.5f + 0.5f * std::sin(i * 0.1f));
        }
        return d;
    }();
    return *document;
}

// A printer that takes the picture and lets it go: the rendering alone.
class TNullPrinter final : public IPrinter {
public:
    int PageWidth() const override { return 4960; }  // A4 at 600 dots per inch
    int PageHeight() const override { return 7016; }
    bool BeginDoc() override { return true; }
    void StretchPicture(const TRect&, const TBitmap& picture) override {
        pixels = double(picture.Width()) * picture.Height();
    }
    bool EndDoc() override { return true; }
    double pixels = 0;
};

// The most memory the process held since the last ResetPeak, in MB.
double PeakMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}
double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The whole page across an A4 sheet at 600 dots per inch, at the item's
// scale (range: the tag).
void BM_RenderToPrinter(benchmark::State& state) {
    const TPenReplayWT& page = LongPage();
    const float scale = float(state.range(0)) * 0.01f;
    TNullPrinter printer;
    const TPrintRequest request{{0, 0, 1022, 718}, {0, 0, 4960, 4960 * 718 / 1022}, scale};
    const double before = ResidentMegabytes();
    ResetPeak();
    for (auto _ : state)
        benchmark::DoNotOptimize(PrintPage(page, page.ElementCount(), {}, printer, request) ==
                                 TPrintStatus::Printed);
    state.counters["peak_MB"] = PeakMegabytes() - before;
    state.counters["work_MB"] =
        double(TFuzzyLineGDI::SurfaceBytes(4, int(1022 * scale), int(718 * scale))) / 1048576.0;
    state.counters["picture_Mpx"] = printer.pixels / 1e6;
}
BENCHMARK(BM_RenderToPrinter)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMillisecond);

// The peer: the same page off screen at its own size, as the picture
// export renders it.
void BM_RenderPageForExport(benchmark::State& state) {
    const TPenReplayWT& page = LongPage();
    TBitmap picture;
    picture.Create(1022, 718);
    const double before = ResidentMegabytes();
    ResetPeak();
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderPage(page, page.ElementCount(), {}, picture, true));
    state.counters["peak_MB"] = PeakMegabytes() - before;
}
BENCHMARK(BM_RenderPageForExport)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quil

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(quil::kPdf);
    return 0;
}
