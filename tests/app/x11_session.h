#pragma once

// A private X server for end-to-end tests: Xvfb on a display number it picks
// itself, programs started on it in the background, and what the screen
// shows, read back as a picture.

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "picture_decoders.h"
#include "test_folder.h"

namespace quil::test {

// A program running in the background until Stop() or destruction.
class TBackgroundProgram {
public:
    TBackgroundProgram(const std::string& program, const std::vector<std::string>& args,
                       const std::vector<std::string>& extraEnv);
    ~TBackgroundProgram();
    TBackgroundProgram(const TBackgroundProgram&) = delete;
    TBackgroundProgram& operator=(const TBackgroundProgram&) = delete;

    void Stop();

private:
    pid_t pid_ = -1;
};

class TXvfbSession {
public:
    // Starts Xvfb with one screen of width x height at 24 bits.
    TXvfbSession(int width, int height);
    ~TXvfbSession();

    bool Ready() const { return !display_.empty(); }
    // The environment a program on this display runs with.
    std::vector<std::string> Environment() const;

    // Runs a program on the display to its end (xdotool, xclip, ...).
    struct TRun {
        int status = -1;
        std::string out;
    };
    TRun Run(const std::string& program, const std::vector<std::string>& args) const;

    // The first visible window whose name contains `name`; "" when none.
    std::string FindWindow(const std::string& name) const;
    // What the window shows (its inside, without a frame); empty on failure.
    testing::TRgbaPicture Capture(const std::string& window) const;

private:
    testing::TTestFolder runtime_;
    std::unique_ptr<TBackgroundProgram> server_;
    std::string display_;
};

}  // namespace quil::test
