#pragma once

#include "platform/timer.h"
#include "player/quil3_reader.h"

namespace quil {

// Disables the replay timer for a scope when it runs and enables it again
// at the end; a timer that was off stays off.
class TQuil3Reader::TReplayTimerPause {
public:
    explicit TReplayTimerPause(ITimer& timer) : timer_(timer), wasRunning_(timer.Enabled()) {
        if (wasRunning_) timer_.SetEnabled(false);
    }
    ~TReplayTimerPause() {
        if (wasRunning_) timer_.SetEnabled(true);
    }
    TReplayTimerPause(const TReplayTimerPause&) = delete;
    TReplayTimerPause& operator=(const TReplayTimerPause&) = delete;

private:
    ITimer& timer_;
    bool wasRunning_;
};

// Marks the player busy while a long drawing runs.
class TQuil3Reader::TBusyScope {
public:
    explicit TBusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~TBusyScope() { busy_ = false; }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    bool& busy_;
};

}  // namespace quil
