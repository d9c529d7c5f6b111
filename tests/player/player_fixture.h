#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "picture_decoders.h"
#include "player/manual_timer.h"
#include "player/quil3_reader_c.h"
#include "recording_writer.h"
#include "test_folder.h"

namespace quil::test {

// Colours equal within `tolerance` per channel: an eraser of opacity 255
// restores (ink + 255 * (layer - ink)) / 256, one level short of the layer.
inline bool Near(uint32_t a, uint32_t b, int tolerance = 2) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}

// A grid word from its low and high halves.
inline uint32_t Pack(int low, int high) {
    return uint32_t(uint16_t(low)) | (uint32_t(uint16_t(high)) << 16);
}

// A host that logs every event the player sends, and may run a command
// from inside one (as a window processing messages would).
struct TRecordingHost final : IReaderHost {
    std::vector<std::pair<int, int>> events;
    std::function<void(int, int)> during;
    void HostEvent(int code, int value) override {
        events.emplace_back(code, value);
        if (during) during(code, value);
    }
    int Count(int code) const;
    bool Has(int code, int value) const;
};

// A window that counts what is presented to it.
struct TRecordingWindow final : IPresentTarget {
    int presents = 0;
    void Present(const TBitmap&, int, int, int, int) override { ++presents; }
};

using testing::TTestFolder;

// Writes a recording body with float points (generation Qui3, minor 6).
fixture::Header FloatHeader();
std::filesystem::path WriteRecording(const TTestFolder& folder, const std::string& name,
                                     const fixture::TRecordingWriter& writer);

// A straight stroke of `count` points from (x0, y) to (x1, y), radius r,
// ending with a pen lift unless `keepRadius`.
std::vector<fixture::Point> Line(double x0, double x1, double y, int count, double r,
                                 bool keepRadius = false);

// A mixed page: opaque and half-transparent strokes crossing each other, a
// stamp with white (transparent) parts, an eraser stroke and more ink over it.
void WriteMixedPage(fixture::TRecordingWriter& w);

// A player with a hand-ticked timer and a recording host, laid out at zoom 1
// at the page size, at the given quality, with the recording opened.
struct TPlayerRig {
    TManualTimerFactory timers;
    TRecordingHost host;
    TRecordingWindow window;
    std::unique_ptr<TQuil3ReaderC> player;

    explicit TPlayerRig(int quality = 2, int width = 200, int height = 150);
    int Open(const std::filesystem::path& path, bool show = true);
    TManualTimer& ReplayTimer() const;
    // Ticks the replay timer until the predicate holds (or `limit` ticks).
    template <class P>
    int TickUntil(P done, int limit = 100000) {
        int n = 0;
        while (!done() && n < limit && ReplayTimer().Tick())
            ++n;
        return n;
    }
};

bool SamePixels(const TBitmap& a, const TBitmap& b);
// Number of pixels that differ; for messages.
int DifferentPixels(const TBitmap& a, const TBitmap& b);

}  // namespace quil::test
