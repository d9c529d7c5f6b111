#pragma once

#include <filesystem>
#include <memory>

#include "player/manual_timer.h"
#include "player/quil3_reader.h"
#include "recording_writer.h"

namespace quil::testing {

// A player off screen with hand-ticked timers, opened on a recording file
// and shown complete, as the window leaves it after opening.
struct TOpenPlayer {
    TManualTimerFactory timers;
    std::unique_ptr<TQuil3Reader> player;
    int openResult = -1;

    explicit TOpenPlayer(const std::filesystem::path& recording, int displayWidth = 1022,
                         int displayHeight = 718);
    TQuil3Reader& operator*() { return *player; }
    TQuil3Reader* operator->() { return player.get(); }
};

// Strokes used by the export tests: opaque strokes of several widths and
// colours, one tapering to its lifting point, laid out across the page.
void AddTestStrokes(fixture::TRecordingWriter& writer, int count);

}  // namespace quil::testing
