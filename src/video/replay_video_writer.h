#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "video/video_options.h"
#include "video/video_writer.h"

namespace quil {

class IFrameSink;

// Writes the replay of a recording as a video: frame i shows the display of
// a player of its own (set up as the window sets up its player when it
// opens the recording and plays it) after the replay ticks due at time
// i / fps (see frame_clock.h), then the complete page for the hold. The
// window's player is not touched.
//
// The file is made in memory and written at the end through the project's
// one file writer, so that an old file stays as it was until the new one is
// complete, and a failure or Cancel leaves no file behind. Plain C++: the
// video module hands it to the command-line tool and the window's dialog.
class TReplayVideoWriter final : public IReplayVideoWriter {
public:
    explicit TReplayVideoWriter(const TReplayVideoOptions& options);

    void SetProgress(TProgressCallback progress) override { progress_ = std::move(progress); }
    void Cancel() override { cancelled_ = true; }
    TVideoResult Write(const std::filesystem::path& recording,
                       const std::filesystem::path& out) override;
    int LoadCode() const override { return loadCode_; }
    const std::string& Message() const override { return message_; }
    int64_t FrameCount() const override { return frames_; }

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
