#include "video/frame_sinks.h"

#include "video/display_frame.h"

namespace quil {

// ---- MP4 and WebM -------------------------------------------------------------

bool TYuvVideoSink::Open(TVideoType type, TFrameSize size, int fps) {
    if (!encoder_.Open(type, size, fps)) return false;
    frame_ = NewFrame(AV_PIX_FMT_YUV420P, size);
    if (!frame_ || !converter_.Open(size)) {
        error_ = "the frames cannot be converted to yuv420p";
        return false;
    }
    return true;
}

bool TYuvVideoSink::Take(const TBitmap& display, int64_t index, const TRect& changed) {
    // The frame before is kept and only the part that changed is converted
    // again. The encoder may still hold that frame: making it writable then
    // gives it a copy of its own first.
    const bool any = changed.left < changed.right && changed.top < changed.bottom;
    if (any && (av_frame_make_writable(frame_.get()) < 0 ||
                !converter_.Convert(display, changed, frame_.get()))) {
        error_ = "the frame cannot be converted to yuv420p";
        return false;
    }
    frame_->pts = index;
    return encoder_.Encode(frame_.get());
}

std::string TYuvVideoSink::Error() const { return error_.empty() ? encoder_.Error() : error_; }

// ---- The palette of a GIF ---------------------------------------------------------

bool TPaletteSink::Take(const TBitmap& display, int64_t index, const TRect& changed) {
    // A frame the same as the one before brings no colour of its own.
    const bool any = changed.left < changed.right && changed.top < changed.bottom;
    return !any || maker_.Add(display, changed, index);
}

bool TPaletteSink::Finish() {
    palette_ = maker_.Finish();
    return palette_ != nullptr;
}

// ---- GIF ----------------------------------------------------------------------------

bool TGifSink::Open(TFrameSize size, int fps, const AVFrame& palette) {
    return mapper_.Open(size, fps, palette) && encoder_.Open(TVideoType::Gif, size, fps);
}

bool TGifSink::Take(const TBitmap& display, int64_t index, const TRect& changed) {
    // Every frame is mapped, also one that is the same as the frame before:
    // the mapper answers it with its last frame at once.
    return mapper_.Map(display, changed, index, [this](AVFrame* frame) { return Encode(frame); });
}

bool TGifSink::Finish() {
    return mapper_.Finish([this](AVFrame* frame) { return Encode(frame); }) && encoder_.Finish();
}

std::string TGifSink::Error() const {
    return !mapper_.Error().empty() ? mapper_.Error() : encoder_.Error();
}

}  // namespace quil
