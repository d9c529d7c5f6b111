#pragma once

// What a program that writes replay videos sees of the writer: a plain
// interface with nothing of FFmpeg in it. The writer itself lives in the
// video module (quil-video.so), which alone links FFmpeg's libraries and is
// loaded only when a video is written (video_module.h).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "video/video_options.h"

namespace quil {

// How far the writer is. A GIF takes two passes over the replay (the first
// gathers the colours of its palette); MP4 and WebM take one.
struct TVideoProgress {
    int64_t frame = 0;   // frames done in this pass
    int64_t frames = 0;  // frames of the video
    int pass = 1;
    int passes = 1;
};

// How much of the whole work is done, 0 to 1, over all passes.
inline double VideoProgressFraction(const TVideoProgress& p) {
    const double all = double(p.passes) * double(p.frames);
    if (all <= 0) return 1.0;
    return (double(p.pass - 1) * double(p.frames) + double(p.frame)) / all;
}

enum class TVideoResult {
    Done,
    NotLoaded,   // the recording did not load: LoadCode() is the load result code
    Refused,     // a size the encoder refuses, a page too large to render, no encoder
    Failed,      // the encoder or muxer failed (Message() says how)
    NotWritten,  // the file could not be written
    Cancelled,   // Cancel() was called; no file was written
};

// Writes the replay of a recording as a video (replay_video_writer.h tells
// how). The file is replaced only once the video is complete; a failure or
// Cancel leaves no file behind.
class IReplayVideoWriter {
public:
    using TProgressCallback = std::function<void(const TVideoProgress&)>;

    virtual ~IReplayVideoWriter() = default;

    // Called after every frame, on the writing thread.
    virtual void SetProgress(TProgressCallback progress) = 0;

    // Asks the writer to stop before its next frame; Write then returns
    // Cancelled, now and for good. Safe from any thread and from the
    // progress callback.
    virtual void Cancel() = 0;

    virtual TVideoResult Write(const std::filesystem::path& recording,
                               const std::filesystem::path& out) = 0;

    // After Write: the load result code for NotLoaded, and what went wrong
    // in plain words for any result but Done and Cancelled.
    virtual int LoadCode() const = 0;
    virtual const std::string& Message() const = 0;
    // The frames of the video (known once the recording has loaded).
    virtual int64_t FrameCount() const = 0;
};

// The module's one entry point: a new writer for `options`, owned by the
// caller, or nullptr when the caller was built against another version of
// this interface (kVideoModuleInterface) than the module.
extern "C" {
using TMakeReplayVideoWriter = IReplayVideoWriter*(int interfaceVersion,
                                                   const TReplayVideoOptions* options);
}
inline constexpr char kMakeReplayVideoWriter[] = "QuilMakeReplayVideoWriter";

// Raised whenever IReplayVideoWriter or TReplayVideoOptions changes, so
// that a program never drives a module of another build by the wrong layout.
inline constexpr int kVideoModuleInterface = 1;

}  // namespace quil
