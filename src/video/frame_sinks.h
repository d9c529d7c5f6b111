#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "video/av_holders.h"
#include "video/gif_palette.h"
#include "video/stream_encoder.h"
#include "video/yuv_converter.h"

namespace quil {

// Where the frames of one pass over the replay go.
class IFrameSink {
public:
    virtual ~IFrameSink() = default;
    // Frame `index` shows `display`, which differs from the frame before
    // only inside `changed` (all of it for the first frame; empty when the
    // frame is the same as the one before).
    virtual bool Take(const TBitmap& display, int64_t index, const TRect& changed) = 0;
    // After the last frame.
    virtual bool Finish() = 0;
    virtual std::string Error() const = 0;
};

// MP4 or WebM: each frame converted to yuv420p and encoded.
class TYuvVideoSink final : public IFrameSink {
public:
    bool Open(TVideoType type, TFrameSize size, int fps);
    bool Take(const TBitmap& display, int64_t index, const TRect& changed) override;
    bool Finish() override { return encoder_.Finish(); }
    std::string Error() const override;
    std::vector<uint8_t> TakeBytes() { return encoder_.TakeBytes(); }

private:
    TStreamEncoder encoder_;
    TYuvConverter converter_;
    TFramePtr frame_;
    std::string error_;
};

// The first pass of a GIF: the colours of every frame, for its palette.
class TPaletteSink final : public IFrameSink {
public:
    bool Open(TFrameSize size, int fps) { return maker_.Open(size, fps); }
    bool Take(const TBitmap& display, int64_t index, const TRect& changed) override;
    bool Finish() override;
    std::string Error() const override { return maker_.Error(); }
    const AVFrame* Palette() const { return palette_.get(); }

private:
    TPaletteMaker maker_;
    TFramePtr palette_;
};

// The second pass of a GIF: each frame mapped onto the palette and encoded.
class TGifSink final : public IFrameSink {
public:
    bool Open(TFrameSize size, int fps, const AVFrame& palette);
    bool Take(const TBitmap& display, int64_t index, const TRect& changed) override;
    bool Finish() override;
    std::string Error() const override;
    std::vector<uint8_t> TakeBytes() { return encoder_.TakeBytes(); }

private:
    bool Encode(AVFrame* frame) { return encoder_.Encode(frame); }

    TPaletteMapper mapper_;
    TStreamEncoder encoder_;
};

}  // namespace quil
