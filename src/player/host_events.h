#pragma once

#include <functional>

namespace quil {

// Host event codes the player sends through Notify.
constexpr int kEventBusyEnd = 0;      // value 0: a long drawing finished
constexpr int kEventBusyStart = 1;    // value: number of elements to draw
constexpr int kEventProgress = 2;     // value: elements drawn so far
constexpr int kEventNoRecording = 4;  // value 0
constexpr int kEventTotal = 5;        // value: element count
constexpr int kEventPosition = 6;     // value: replay position
constexpr int kEventEndReached = 7;   // value 0

// Where a drawing sends its host events (code, value); may be empty.
using THostEvents = std::function<void(int code, int value)>;

// The busy and progress events around a drawing of many elements: a
// drawing of more than 16 elements is announced with its total, reports
// every 16th element it draws and says when it is done; shorter drawings
// send nothing.
class TDrawingProgress {
public:
    TDrawingProgress(THostEvents events, int total);
    // Counts one element about to be drawn; true at every 16th, which the
    // caller then reports (after whatever the host should find done when
    // it hears of it).
    bool Step();
    void Report();
    // Whether anyone hears the events.
    bool Listening() const { return bool(events_); }
    // The busy end, when the start was sent.
    void Finish();

private:
    THostEvents events_;
    bool reported_;
    int counter_ = 0;
};

}  // namespace quil
