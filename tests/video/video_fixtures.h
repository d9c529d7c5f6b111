#pragma once

// Recordings and comparisons shared by the video tests.

#include <cstdint>
#include <string>
#include <vector>

#include "recording_writer.h"

namespace quil::test {

// A 300 x 200 page (or the size given): three strokes and a stamp, written
// with replay step 5 in 7 + 9 + 1 + 11 ticks (a stroke of n points takes
// one tick for its first point, floor((n - 1) / 5) ticks of five segments
// and one that finds none left), then one tick that stops the replay.
std::vector<uint8_t> PageRecording(int width = 300, int height = 200, bool grid = false);
constexpr int kPageTicks = 7 + 9 + 1 + 11 + 1;

// A page with no elements at all.
std::vector<uint8_t> EmptyRecording();

// The ticks due when frame `frame` shows, at `fps`: tick k is due at
// k * 33 ms, frame i at i / fps seconds.
int64_t TicksDue(int64_t frame, int fps);

// Mean absolute difference of two RGB pictures per channel value, or -1
// when their sizes differ.
double MeanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

}  // namespace quil::test
