#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "video/video_options.h"

namespace quil {

class IFrameSink;

// How far the writer is. A GIF takes two passes over the replay (the first
// gathers the colours of its palette); MP4 and WebM take one.
struct TVideoProgress {
    int64_t frame = 0;   // frames done in this pass
    int64_t frames = 0;  // frames of the video
    int pass = 1;
    int passes = 1;
};

enum class TVideoResult {
    Done,
    NotLoaded,   // the recording did not load: LoadCode() is the load result code
    Refused,     // a size the encoder refuses, a page too large to render, no encoder
    Failed,      // the encoder or muxer failed (Message() says how)
    NotWritten,  // the file could not be written
    Cancelled,   // Cancel() was called; no file was written
};

// Writes the replay of a recording as a video: frame i shows the display of
// a player of its own (set up as the window sets up its player when it
// opens the recording and plays it) after the replay ticks due at time
// i / fps (see frame_clock.h), then the complete page for the hold. The
// window's player is not touched.
//
// The file is made in memory and written at the end through the project's
// one file writer, so that an old file stays as it was until the new one is
// complete, and a failure or Cancel leaves no file behind. Plain C++: the
// command-line tool and the window's dialog both use it.
class TReplayVideoWriter {
public:
    using TProgressCallback = std::function<void(const TVideoProgress&)>;

    explicit TReplayVideoWriter(const TReplayVideoOptions& options);

    // Called after every frame, on the writing thread.
    void SetProgress(TProgressCallback progress) { progress_ = std::move(progress); }

    // Asks the writer to stop before its next frame; Write then returns
    // Cancelled, now and for good. Safe from any thread and from the
    // progress callback.
    void Cancel() { cancelled_ = true; }

    TVideoResult Write(const std::filesystem::path& recording, const std::filesystem::path& out);

    // After Write: the load result code for NotLoaded, and what went wrong
    // in plain words for any result but Done and Cancelled.
    int LoadCode() const { return loadCode_; }
    const std::string& Message() const { return message_; }
    // The frames of the video (known once the recording has loaded).
    int64_t FrameCount() const { return frames_; }

private:
    TVideoResult Fail(TVideoResult result, std::string message);
    TVideoResult CountFrames(const std::filesystem::path& recording);
    TVideoResult RunPass(const std::filesystem::path& recording, IFrameSink& sink, int pass,
                         int passes);
    TVideoResult EncodeYuv(const std::filesystem::path& recording, std::vector<uint8_t>& bytes);
    TVideoResult EncodeGif(const std::filesystem::path& recording, std::vector<uint8_t>& bytes);

    TReplayVideoOptions options_;
    TProgressCallback progress_;
    std::atomic<bool> cancelled_{false};
    int loadCode_ = 0;
    std::string message_;
    int64_t ticks_ = 0;
    int64_t frames_ = 0;
};

}  // namespace quil
