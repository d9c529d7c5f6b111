#include "export/interrupt_cleanup.h"

#include <limits.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace quil {

namespace {

constexpr int kWatched = 16;

// A slot is claimed (kFilling) before its path is written and only then
// marked kWatched, so the handler never reads a path being written.
enum TSlotState : int { kFree = 0, kFilling = 1, kWatching = 2 };

struct TSlot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};
static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the states");

TSlot slots[kWatched];

void OnInterrupt(int signal) {
    for (TSlot& slot : slots)
        if (slot.state.load() == kWatching) ::unlink(slot.path);
    // SA_RESETHAND put the default action back and SA_NODEFER leaves the
    // signal unblocked, so this ends the process as the signal would have.
    ::raise(signal);
}

void InstallHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int signal : {SIGINT, SIGTERM}) {
            struct sigaction current {};
            if (::sigaction(signal, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) ||
                current.sa_handler != SIG_DFL)
                continue;
            struct sigaction action {};
            action.sa_handler = OnInterrupt;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESETHAND | SA_NODEFER;
            ::sigaction(signal, &action, nullptr);
        }
    });
}

}  // namespace

TInterruptHold::TInterruptHold() {
    sigset_t interrupts;
    sigemptyset(&interrupts);
    sigaddset(&interrupts, SIGINT);
    sigaddset(&interrupts, SIGTERM);
    ::pthread_sigmask(SIG_BLOCK, &interrupts, &saved_);
}

TInterruptHold::~TInterruptHold() { ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

int WatchTemporaryFile(const char* path) {
    const size_t length = std::strlen(path);
    if (length >= PATH_MAX) return -1;
    InstallHandlers();
    for (int ticket = 0; ticket < kWatched; ++ticket) {
        int expected = kFree;
        if (!slots[ticket].state.compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(slots[ticket].path, path, length + 1);
        slots[ticket].state.store(kWatching);
        return ticket;
    }
    return -1;
}

void ForgetTemporaryFile(int ticket) {
    if (ticket >= 0 && ticket < kWatched) slots[ticket].state.store(kFree);
}

}  // namespace quil
