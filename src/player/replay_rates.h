#pragma once

namespace quil {

// Points per replay tick for the ten rate entries of the window's menu:
// trunc(1.5 ^ rate). Rates 0 and 1 both give one point per tick.
constexpr int kReplayRateCount = 10;
constexpr int kReplaySteps[kReplayRateCount] = {1, 1, 2, 3, 5, 7, 11, 17, 25, 38};

// The player starts with this step, while the menu marks rate 3 (step 3);
// the step changes only when the user picks a rate.
constexpr int kInitialReplayStep = 5;

// Step of a rate entry; rates outside 0 .. 9 give 0 (refused by SetReplayStep).
constexpr int ReplayStepForRate(int rate) {
    return rate >= 0 && rate < kReplayRateCount ? kReplaySteps[rate] : 0;
}

// Periods of the player's two timers.
constexpr int kReplayIntervalMs = 33;
constexpr int kRepaintIntervalMs = 15;

}  // namespace quil
