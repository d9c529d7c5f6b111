#include "video/replay_video_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "export/atomic_file.h"
#include "video/frame_clock.h"
#include "video/frame_sinks.h"
#include "video/replay_frames.h"
#include "video/video_size.h"

namespace quil {

TReplayVideoWriter::TReplayVideoWriter(const TReplayVideoOptions& options) : options_(options) {}

TVideoResult TReplayVideoWriter::Fail(TVideoResult result, std::string message) {
    message_ = std::move(message);
    return result;
}

TVideoResult TReplayVideoWriter::Write(const std::filesystem::path& recording,
                                       const std::filesystem::path& out) {
    loadCode_ = 0;
    message_.clear();
    frames_ = 0;
    const TReplayVideoOptions& o = options_;
    if (o.fps < kMinVideoFps || o.fps > kMaxVideoFps || !(o.holdSeconds >= 0) ||
        o.holdSeconds > kMaxHoldSeconds || o.step < 1 || o.width < 1 || o.height < 1 ||
        !(o.zoom > 0))
        return Fail(TVideoResult::Refused, "the video options are out of range");
    const std::string refusal =
        VideoSizeRefusal(o.type, EncodedFrameSize(o.type, o.width, o.height));
    if (!refusal.empty()) return Fail(TVideoResult::Refused, refusal);

    // A folder that is not there is known before minutes of encoding. A
    // path that ends in something else than a folder gives no error code.
    const std::filesystem::path folder = out.parent_path();
    std::error_code error;
    if (!folder.empty() && !std::filesystem::is_directory(folder, error))
        return Fail(TVideoResult::NotWritten, "cannot write " + out.string() + ": " +
                                                  std::strerror(error ? error.value() : ENOTDIR));

    TVideoResult result = CountFrames(recording);
    if (result != TVideoResult::Done) return result;
    std::vector<uint8_t> bytes;
    result = o.type == TVideoType::Gif ? EncodeGif(recording, bytes) : EncodeYuv(recording, bytes);
    if (result != TVideoResult::Done) return result;
    if (cancelled_) return TVideoResult::Cancelled;
    if (!ReplaceFileContents(out, bytes)) {
        const int error = LastWriteError();
        return Fail(TVideoResult::NotWritten,
                    "cannot write " + out.string() +
                        (error ? std::string(": ") + std::strerror(error) : std::string()));
    }
    return TVideoResult::Done;
}

TVideoResult TReplayVideoWriter::CountFrames(const std::filesystem::path& recording) {
    // The number of ticks does not depend on the display: a player of one
    // pixel at Low quality runs the same replay at little cost.
    TReplayVideoOptions counting = options_;
    counting.width = counting.height = 1;
    counting.quality = 0;
    TReplayFrames replay(counting);
    const int code = replay.Open(recording);
    if (code > 0) {
        loadCode_ = code;
        return Fail(TVideoResult::NotLoaded, "the recording did not load");
    }
    if (code != 0) return Fail(TVideoResult::Refused, "the page cannot be rendered");
    ticks_ = replay.RunToEnd();
    frames_ =
        ReplayFrameCount(ticks_, options_.fps) + HoldFrameCount(options_.holdSeconds, options_.fps);
    return TVideoResult::Done;
}

TVideoResult TReplayVideoWriter::RunPass(const std::filesystem::path& recording, IFrameSink& sink,
                                         int pass, int passes) {
    TReplayFrames replay(options_);
    const int code = replay.Open(recording);
    if (code == kFramesTooLarge)
        return Fail(TVideoResult::Refused, "the page is too large to render");
    if (code != 0) {
        loadCode_ = code;
        return Fail(TVideoResult::NotLoaded, "the recording did not load");
    }
    for (int64_t i = 0; i < frames_; ++i) {
        if (cancelled_) return TVideoResult::Cancelled;
        replay.AdvanceTo(std::min(TicksDueAtFrame(i, options_.fps), ticks_));
        if (!sink.Take(replay.Display(), i, replay.TakeChanged()))
            return Fail(TVideoResult::Failed, sink.Error());
        if (progress_) progress_(TVideoProgress{i + 1, frames_, pass, passes});
    }
    if (cancelled_) return TVideoResult::Cancelled;
    if (!sink.Finish()) return Fail(TVideoResult::Failed, sink.Error());
    return TVideoResult::Done;
}

TVideoResult TReplayVideoWriter::EncodeYuv(const std::filesystem::path& recording,
                                           std::vector<uint8_t>& bytes) {
    const TFrameSize size = EncodedFrameSize(options_.type, options_.width, options_.height);
    TYuvVideoSink sink;
    if (!sink.Open(options_.type, size, options_.fps))
        return Fail(TVideoResult::Refused, sink.Error());
    const TVideoResult result = RunPass(recording, sink, 1, 1);
    if (result == TVideoResult::Done) bytes = sink.TakeBytes();
    return result;
}

TVideoResult TReplayVideoWriter::EncodeGif(const std::filesystem::path& recording,
                                           std::vector<uint8_t>& bytes) {
    const TFrameSize size = EncodedFrameSize(TVideoType::Gif, options_.width, options_.height);
    TPaletteSink colours;
    if (!colours.Open(size, options_.fps)) return Fail(TVideoResult::Failed, colours.Error());
    TVideoResult result = RunPass(recording, colours, 1, 2);
    if (result != TVideoResult::Done) return result;
    TGifSink gif;
    if (!gif.Open(size, options_.fps, *colours.Palette()))
        return Fail(TVideoResult::Refused, gif.Error());
    result = RunPass(recording, gif, 2, 2);
    if (result == TVideoResult::Done) bytes = gif.TakeBytes();
    return result;
}

}  // namespace quil
