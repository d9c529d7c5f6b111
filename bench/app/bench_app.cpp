// The viewer from start to the page shown (Open + Show), on Qt's offscreen
// platform, for the demo recording and for a page of 200,000 pen points. The
// baseline is the player alone doing the same work off screen, in the same
// process: the ratio is what the window adds (widgets, layout, presenting
// the page, the message loop), free of the shared machine's noise.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "app/display_panel.h"
#include "app/quil3_reader_win.h"
#include "app/window_font.h"
#include "player/manual_timer.h"
#include "recording_writer.h"

namespace quil {
namespace {

// 2,000 strokes of 100 points wandering over a 1022 x 718 page.
const std::filesystem::path& LongRecording() {
    static const std::filesystem::path path = [] {
        fixture::TRecordingWriter w(fixture::Header{});
        std::mt19937 random(20080222);
        std::uniform_real_distribution<double> px(20, 1000), py(20, 700), step(-6, 6),
            radius(0.5, 4);
        for (int s = 0; s < 2000; ++s) {
            std::vector<fixture::Point> points;
            double x = px(random), y = py(random);
            const double r = radius(random);
            for (int i = 0; i < 100; ++i) {
                x = std::clamp(x + step(random), 0.0, 1022.0);
                y = std::clamp(y + step(random), 0.0, 718.0);
                points.push_back({x, y, i == 99 ? 0.0 : r});
            }
            w.Stroke(points, {.color = uint32_t(random() & 0xFFFFFF)});
        }
        const auto file = std::filesystem::temp_directory_path() / "quil-bench-app.stk";
        fixture::WriteFile(file, w.Body());
        return file;
    }();
    return path;
}

const std::filesystem::path& Recording(int which) {
    static const std::filesystem::path demo = QUIL_DEMO_RECORDING;
    return which == 0 ? demo : LongRecording();
}

// A window started with the recording, until the page is on the display.
void WindowStartToPageShown(benchmark::State& state) {
    const std::filesystem::path& path = Recording(int(state.range(0)));
    for (auto _ : state) {
        TQuil3ReaderWin window({"/nonexistent/quil-reader", {path.string()}});
        window.show();
        while (window.Player().PlayState() != kStopped || window.DisplayPanel().Shown().isNull())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        benchmark::DoNotOptimize(window.DisplayPanel().Shown().constBits());
    }
}
BENCHMARK(WindowStartToPageShown)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The baseline: the player alone lays out at the page size, opens and shows.
void PlayerOpenAndShow(benchmark::State& state) {
    const std::filesystem::path& path = Recording(int(state.range(0)));
    for (auto _ : state) {
        TManualTimerFactory timers;
        TQuil3Reader player(timers, nullptr, 0, 0);
        player.SetLayout(nullptr, 1022, 718, 1.0f, 0, 0);
        player.Open(path);
        player.Show(true);
        benchmark::DoNotOptimize(player.Position());
    }
}
BENCHMARK(PlayerOpenAndShow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quil

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QApplication::setFont(quil::WindowFont());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(std::filesystem::temp_directory_path() / "quil-bench-app.stk");
    return 0;
}
