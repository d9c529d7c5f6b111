#include "export_fixtures.h"

namespace quil::testing {

TOpenPlayer::TOpenPlayer(const std::filesystem::path& recording, int displayWidth,
                         int displayHeight) {
    player = std::make_unique<TQuil3Reader>(timers, nullptr, displayWidth, displayHeight);
    openResult = player->Open(recording);
    if (openResult == 0) player->Show(false);
}

void AddTestStrokes(fixture::TRecordingWriter& writer, int count) {
    const uint32_t colours[] = {0x0000C0, 0xC00000, 0x008000, 0x202020, 0x8000A0};
    for (int i = 0; i < count; ++i) {
        const double x0 = 60 + (i % 4) * 240, y0 = 80 + (i / 4) * 150;
        const double r = 2 + (i % 3) * 3;
        std::vector<fixture::Point> points;
        for (int k = 0; k <= 40; ++k)
            points.push_back({x0 + k * 4.0,
                              y0 + (k % 10) * 5.0 - (k % 20 >= 10 ? (k % 10) * 10.0 : 0),
                              k == 40 ? 0.0 : r});
        writer.Stroke(points, {.color = colours[i % 5]});
    }
}

}  // namespace quil::testing
