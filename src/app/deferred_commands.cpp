#include "app/deferred_commands.h"

namespace quil {

void TDeferredCommands::Run(std::function<void()> command) {
    if (waiting_.empty() && !running_ && !busy_()) {
        command();
        return;
    }
    waiting_.push_back(std::move(command));
    RunWaiting();
}

void TDeferredCommands::RunWaiting() {
    // A command run from here may process messages that ask for this again.
    if (running_) return;
    running_ = true;
    while (!waiting_.empty() && !busy_()) {
        std::function<void()> command = std::move(waiting_.front());
        waiting_.pop_front();
        command();
    }
    running_ = false;
}

}  // namespace quil
