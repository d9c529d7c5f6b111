#include "app/deferred_commands.h"

namespace quil {

void TDeferredCommands::Run(std::function<void()> command) {
    waiting_.push_back(std::move(command));
    RunWaiting();
}

void TDeferredCommands::RunWaiting() {
    // A command that arrives while another runs (from a modal dialog's
    // message loop, say) waits for it; the loop below takes it up next.
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
