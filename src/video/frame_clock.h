#pragma once

#include <cstdint>

namespace quil {

// The clock that turns a replay into frames. The window's replay timer
// ticks every 33 ms after Play: tick k (k >= 1) is due at k * 33 ms. Frame
// i of a video at `fps` frames per second shows time i / fps, that is the
// display after every tick due by then:
//
//   ticks(i) = floor(i * 1000 / (33 * fps))
//
// At 30 frames per second that is one tick per frame and a second tick
// every 99th frame, so the video keeps the window's pace exactly.

int64_t TicksDueAtFrame(int64_t frame, int fps);

// Frames that show the replay in progress when it takes `ticks` ticks
// (the last of which finds nothing left and stops): the frames before the
// first one at which all ticks are due. 0 for 0 ticks.
int64_t ReplayFrameCount(int64_t ticks, int fps);

// Frames of the complete page held for `seconds` at the end: the seconds
// rounded to whole frames, at least one, so that every video ends on the
// complete page.
int64_t HoldFrameCount(double seconds, int fps);

}  // namespace quil
