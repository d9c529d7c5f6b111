#include "player/manual_timer.h"

namespace quil {

bool TManualTimer::Tick() {
    if (!enabled_ || !handler_) return false;
    handler_();
    return true;
}

std::unique_ptr<ITimer> TManualTimerFactory::CreateTimer() {
    auto timer = std::make_unique<TManualTimer>();
    timers_.push_back(timer.get());
    return timer;
}

TManualTimer* TManualTimerFactory::WithInterval(int milliseconds) const {
    for (TManualTimer* t : timers_)
        if (t->Interval() == milliseconds) return t;
    return nullptr;
}

}  // namespace quil
