#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/timer.h"

namespace quil {

// Timers that tick only when told: the headless tool steps the replay by
// hand and tests step time exactly. Tick() runs the handler when enabled.
class TManualTimer final : public ITimer {
public:
    void SetInterval(int milliseconds) override { interval_ = milliseconds; }
    int Interval() const override { return interval_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool Enabled() const override { return enabled_; }
    void SetHandler(std::function<void()> onTick) override { handler_ = std::move(onTick); }

    // Runs the handler once when the timer is enabled; returns whether it ran.
    bool Tick();

private:
    int interval_ = 0;
    bool enabled_ = false;
    std::function<void()> handler_;
};

// Hands out TManualTimers and keeps a view of each, in creation order, for
// whoever drives them. The timers belong to the caller of CreateTimer; the
// factory must outlive them only as long as Timer() is used.
class TManualTimerFactory final : public ITimerFactory {
public:
    std::unique_ptr<ITimer> CreateTimer() override;

    int Count() const { return int(timers_.size()); }
    TManualTimer* Timer(int i) const { return timers_[size_t(i)]; }
    // The timer created with the given interval, or nullptr.
    TManualTimer* WithInterval(int milliseconds) const;

private:
    std::vector<TManualTimer*> timers_;
};

}  // namespace quil
