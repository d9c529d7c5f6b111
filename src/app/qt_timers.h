#pragma once

#include "platform/timer.h"

namespace quil {

// The player's timers as the toolkit's timers of the user-interface thread.
class TQtTimerFactory final : public ITimerFactory {
public:
    std::unique_ptr<ITimer> CreateTimer() override;
};

}  // namespace quil
