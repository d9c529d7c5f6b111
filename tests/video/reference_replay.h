#pragma once

// The window's player driven by hand in the test, the way the window drives
// it when the user opens a recording and presses Play: the road the video
// frames are compared against.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "player/manual_timer.h"
#include "player/quil3_reader.h"
#include "video/video_options.h"

namespace quil::test {

class TReferenceReplay {
public:
    // The display, options, step and start of `setup`; its type, rate and
    // hold are the video's alone.
    TReferenceReplay(const std::string& recording, const TReplayVideoOptions& setup);

    // Runs up to `ticks` more replay ticks (fewer once the replay stops).
    void Tick(int64_t ticks);
    bool Playing() const;

    // The display's top-left width x height pixels as top-down RGB rows.
    std::vector<uint8_t> Rgb(int width, int height) const;
    std::vector<uint8_t> Rgb() const;

private:
    TManualTimerFactory timers_;
    TQuil3Reader player_;
};

// The number of distinct colours in a set of RGB pictures.
size_t CountColours(const std::vector<std::vector<uint8_t>>& pictures);

}  // namespace quil::test
