#pragma once

#include <functional>
#include <memory>

namespace quil {

// A periodic timer delivered on the user-interface thread. The window backs
// it with its toolkit's timer; tests tick it by hand.
class ITimer {
public:
    virtual ~ITimer() = default;
    virtual void SetInterval(int milliseconds) = 0;
    virtual int Interval() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    // Called on every tick while enabled.
    virtual void SetHandler(std::function<void()> onTick) = 0;
};

class ITimerFactory {
public:
    virtual ~ITimerFactory() = default;
    virtual std::unique_ptr<ITimer> CreateTimer() = 0;
};

}  // namespace quil
