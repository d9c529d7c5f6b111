#pragma once

#include <deque>
#include <functional>

namespace quil {

// Holds back the commands that stay reachable while the player draws with
// progress events. During such a drawing the window processes its messages,
// so "Open", the Quality entries, "About", "Exit", a click on the display or
// a key can arrive in the middle of it; run then, they would re-enter the
// player, which refuses them, and they would be lost. They wait instead and
// run in the order they came once the drawing has ended.
class TDeferredCommands {
public:
    // `busy` tells whether the player is in the middle of a drawing.
    explicit TDeferredCommands(std::function<bool()> busy) : busy_(std::move(busy)) {}

    // Runs the command now, or keeps it when the player is busy, another
    // command is running or earlier commands still wait (they go first).
    void Run(std::function<void()> command);

    // Runs the waiting commands in order, as long as the player is not busy;
    // a command that starts a drawing of its own leaves the rest waiting
    // for the end of that drawing.
    void RunWaiting();

    bool HasWaiting() const { return !waiting_.empty(); }

private:
    std::function<bool()> busy_;
    std::deque<std::function<void()>> waiting_;
    bool running_ = false;
};

}  // namespace quil
