#include "cli/cli_progress_line.h"

#include <cstdio>

#include <unistd.h>

namespace quil {

namespace {

// Redraws no more often than this.
constexpr auto kRedrawInterval = std::chrono::milliseconds(200);
// Seconds of work before the time left is estimated.
constexpr double kEstimateAfter = 1.0;

// "m:ss", or "h:mm:ss" from an hour on.
std::string Duration(double seconds) {
    const long long s = seconds > 0 ? (long long)(seconds + 0.5) : 0;
    char text[32];
    if (s >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
    return text;
}

}  // namespace

TProgressLine::TProgressLine()
    : terminal_(::isatty(STDERR_FILENO) == 1), start_(Clock::now()), lastDrawn_(start_) {}

bool TProgressLine::Due(double fraction) const {
    return terminal_ &&
           (!shown_ || fraction >= 1.0 || Clock::now() - lastDrawn_ >= kRedrawInterval);
}

void TProgressLine::Update(double fraction, const std::string& done) {
    if (!Due(fraction)) return;
    const Clock::time_point now = Clock::now();
    lastDrawn_ = now;
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    std::string line = "quil: " + done + ", " + Duration(elapsed) + " elapsed";
    // The first moments include opening the recording: too early to tell.
    if (fraction > 0.0 && fraction <= 1.0 && elapsed >= kEstimateAfter)
        line += ", about " + Duration(elapsed * (1.0 - fraction) / fraction) + " left";
    // Back to the line's start, the new text, the rest of the old one erased.
    std::fprintf(stderr, "\r%s\x1b[K", line.c_str());
    std::fflush(stderr);
    shown_ = true;
}

void TProgressLine::Clear() {
    if (!shown_) return;
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
    shown_ = false;
}

}  // namespace quil
