#include "player/host_events.h"

#include <utility>

namespace quil {

namespace {

constexpr int kProgressThreshold = 16;
constexpr int kProgressEvery = 16;

}  // namespace

TDrawingProgress::TDrawingProgress(THostEvents events, int total)
    : events_(std::move(events)), reported_(total > kProgressThreshold && events_) {
    if (reported_) events_(kEventBusyStart, total);
}

bool TDrawingProgress::Step() { return ++counter_ % kProgressEvery == 0; }

void TDrawingProgress::Report() {
    if (events_) events_(kEventProgress, counter_);
}

void TDrawingProgress::Finish() {
    if (reported_) events_(kEventBusyEnd, 0);
}

}  // namespace quil
