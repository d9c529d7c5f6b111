#include "video/frame_clock.h"

#include <algorithm>
#include <cmath>

#include "player/replay_rates.h"

namespace quil {

int64_t TicksDueAtFrame(int64_t frame, int fps) {
    return frame * 1000 / (int64_t(kReplayIntervalMs) * fps);
}

int64_t ReplayFrameCount(int64_t ticks, int fps) {
    // The smallest i with i * 1000 >= ticks * 33 * fps.
    const int64_t due = ticks * kReplayIntervalMs * fps;
    return (due + 999) / 1000;
}

int64_t HoldFrameCount(double seconds, int fps) {
    return std::max<int64_t>(1, std::llround(seconds * fps));
}

}  // namespace quil
