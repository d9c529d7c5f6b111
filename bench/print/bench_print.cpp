// Printing a page-sized picture through the Qt printer into a PDF file:
// our printer (the picture drawn from its own rows, no copy) against the
// same Qt road with a top-down copy of the picture first, and a plain copy
// of the pixels as the baseline the ratios are read against. Also the
// print dialog's zoom step, which rebuilds the placed picture.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <cstring>
#include <filesystem>

#include "picture_decoders.h"
#include "print/paper_placement.h"
#include "print/qt_picture.h"
#include "print/qt_printer.h"

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
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024.0;
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
