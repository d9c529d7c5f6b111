#pragma once

#include <signal.h>

namespace quil {

// Named temporary files that an interruption removes. On SIGINT or SIGTERM
// the handler unlinks every watched file and ends the process by the same
// signal, as the signal's default action would have (shells report 130 and
// 143). The handlers are installed when the first file is watched, and only
// for a signal whose action is still the default: a signal that is ignored
// stays ignored, and a handler of the program's own is left alone. The
// handler only reads the table below and calls unlink and raise, which are
// safe in a signal handler.

// Blocks SIGINT and SIGTERM in the calling thread while it lives, so that
// making, renaming or removing a temporary file and watching or forgetting
// it are one step as far as the handler can see.
class TInterruptHold {
public:
    TInterruptHold();
    ~TInterruptHold();
    TInterruptHold(const TInterruptHold&) = delete;
    TInterruptHold& operator=(const TInterruptHold&) = delete;

private:
    sigset_t saved_;
};

// Watches a named temporary file; returns the ticket to forget it by, or -1
// when the path is too long or sixteen files are watched already (that file
// then stays behind after an interruption).
int WatchTemporaryFile(const char* path);
void ForgetTemporaryFile(int ticket);

}  // namespace quil
