#include "reference_replay.h"

#include <unordered_set>

#include "player/replay_rates.h"

namespace quil::test {

TReferenceReplay::TReferenceReplay(const std::string& recording, const TReplayVideoOptions& setup)
    : player_(timers_, nullptr, 0, 0) {
    player_.SetLayout(nullptr, setup.width, setup.height, setup.zoom, 0, 0);
    player_.SetQuality(setup.quality);
    player_.Open(recording);
    if (player_.HasBackground()) player_.SetBackground(true);
    if (player_.HasGrid()) player_.SetGrid(true);
    if (setup.grid) player_.SetGrid(*setup.grid);
    if (setup.background) player_.SetBackground(*setup.background);
    player_.SetReverse(setup.reverse);
    player_.Show(true);
    player_.SetReplayStep(setup.step);
    player_.GoTo(setup.from, false);
    if (player_.Position() < player_.ElementCount()) player_.Play();
}

bool TReferenceReplay::Playing() const {
    const TManualTimer* timer = timers_.WithInterval(kReplayIntervalMs);
    return timer && timer->Enabled();
}

void TReferenceReplay::Tick(int64_t ticks) {
    TManualTimer* timer = timers_.WithInterval(kReplayIntervalMs);
    for (int64_t i = 0; i < ticks && timer && timer->Tick(); ++i) {}
}

std::vector<uint8_t> TReferenceReplay::Rgb(int width, int height) const {
    const TBitmap& display = player_.Renderer()->DisplayDC();
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = display.ScanLine(y);
        for (int x = 0; x < width; ++x, p += 3)
            rgb.insert(rgb.end(), {p[2], p[1], p[0]});
    }
    return rgb;
}

std::vector<uint8_t> TReferenceReplay::Rgb() const {
    return Rgb(player_.DisplayWidth(), player_.DisplayHeight());
}

size_t CountColours(const std::vector<std::vector<uint8_t>>& pictures) {
    std::unordered_set<uint32_t> colours;
    for (const auto& picture : pictures)
        for (size_t i = 0; i + 2 < picture.size(); i += 3)
            colours.insert(uint32_t(picture[i]) << 16 | uint32_t(picture[i + 1]) << 8 |
                           picture[i + 2]);
    return colours.size();
}

}  // namespace quil::test
