#pragma once

#include <cstdint>
#include <filesystem>

#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "platform/present_target.h"
#include "player/manual_timer.h"
#include "player/quil3_reader.h"
#include "video/video_options.h"

namespace quil {

// Open's result when the recording loaded but its display cannot be had
// (load result codes are 0 .. 6).
constexpr int kFramesTooLarge = -2;

// A player of its own, set up as the window sets up its player when it
// opens a recording and the user presses Play: layout, quality, open, the
// Grid and Background options as after opening and then as asked, Reverse,
// the page shown, the replay step, the start position, Play. Its replay
// timer is ticked by hand, so that the display can be taken after any
// number of ticks.
//
// It also stands in for the window the player shows on: the player hands
// it the rectangles it would copy to the screen, which tells what changed
// from one frame to the next.
class TReplayFrames final : private IPresentTarget {
public:
    explicit TReplayFrames(const TReplayVideoOptions& options);
    TReplayFrames(const TReplayFrames&) = delete;
    TReplayFrames& operator=(const TReplayFrames&) = delete;

    // The load result code, or kFramesTooLarge.
    int Open(const std::filesystem::path& recording);

    // Runs the replay ticks until `ticks` have run or the replay has
    // stopped, then the repaint timer, as the window's timers run.
    void AdvanceTo(int64_t ticks);

    // Ticks the replay to its end; returns the number of ticks it took,
    // counting the last one, which finds nothing left and stops. 0 when
    // there is nothing to replay (an empty recording, or a start position
    // at the complete page).
    int64_t RunToEnd();

    // What the window shows.
    const TBitmap& Display() const;

    // The part of the display the player has shown anew since the last
    // call (all of it after Open); empty (left >= right) when none.
    TRect TakeChanged();

private:
    void Present(const TBitmap& display, int x, int y, int width, int height) override;
    bool Playing() const;

    TReplayVideoOptions options_;
    TManualTimerFactory timers_;
    TQuil3Reader player_;
    TManualTimer* replayTimer_ = nullptr;
    int64_t ticksRun_ = 0;
    TRect changed_;
};

}  // namespace quil
