#include "app/qt_timers.h"

#include <QTimer>

namespace quil {

namespace {

class TQtTimer final : public ITimer {
public:
    TQtTimer() {
        // The player's 15 and 33 ms periods are short; a coarse timer may
        // stretch them by a twentieth, which only slows the replay.
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (onTick_) onTick_();
        });
    }
    void SetInterval(int milliseconds) override { timer_.setInterval(milliseconds); }
    int Interval() const override { return timer_.interval(); }
    void SetEnabled(bool enabled) override {
        if (enabled == timer_.isActive()) return;
        if (enabled)
            timer_.start();
        else
            timer_.stop();
    }
    bool Enabled() const override { return timer_.isActive(); }
    void SetHandler(std::function<void()> onTick) override { onTick_ = std::move(onTick); }

private:
    QTimer timer_;
    std::function<void()> onTick_;
};

}  // namespace

std::unique_ptr<ITimer> TQtTimerFactory::CreateTimer() { return std::make_unique<TQtTimer>(); }

}  // namespace quil
