#pragma once

#include <chrono>
#include <string>

namespace quil {

// A line on stderr that shows how far a long command is: what is done,
// the time elapsed and an estimate of the time left, redrawn in place a few
// times a second. Drawn only when stderr is a terminal; in a pipe or a file
// nothing extra appears. The line is erased when the command ends, so that
// an error line or the shell's prompt starts on a clean line.
class TProgressLine {
public:
    TProgressLine();
    ~TProgressLine() { Clear(); }
    TProgressLine(const TProgressLine&) = delete;
    TProgressLine& operator=(const TProgressLine&) = delete;

    // `fraction` of the whole work (0 .. 1) is done; `done` says what, e.g.
    // "frame 120 of 300".
    void Update(double fraction, const std::string& done);
    // Whether Update with `fraction` would draw: a caller with text to make
    // asks first.
    bool Due(double fraction) const;
    void Clear();

private:
    using Clock = std::chrono::steady_clock;

    bool terminal_ = false;
    bool shown_ = false;
    Clock::time_point start_;
    Clock::time_point lastDrawn_;
};

}  // namespace quil
