#pragma once

#include <functional>
#include <string>

#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "video/av_holders.h"
#include "video/filter_graph.h"
#include "video/video_size.h"

namespace quil {

// The one palette of a GIF, made from the colours of all its frames by
// FFmpeg's palettegen: up to 256 colours, none kept for transparency. When
// the frames hold no more colours than that, every colour is in it as it is.
class TPaletteMaker {
public:
    bool Open(TFrameSize size, int fps);
    // Counts the colours of a frame (the display's top-left part of the
    // size), of which `changed` (display pixels) differs from the frame before;
    // the first frame changes whole.
    bool Add(const TBitmap& display, const TRect& changed, int64_t pts);
    // The palette: a 16 x 16 frame of 256 colours; nullptr on failure.
    TFramePtr Finish();
    const std::string& Error() const { return error_; }

private:
    TFilterGraph graph_;
    TFramePtr frame_;
    std::string error_;
};

// Maps frames onto the palette with FFmpeg's paletteuse: colours in the
// palette stay exactly as they are, others are dithered by error diffusion;
// only the rectangle that changed since the frame before is mapped again,
// so still parts stay the same from frame to frame.
class TPaletteMapper {
public:
    bool Open(TFrameSize size, int fps, const AVFrame& palette);
    // Maps a frame, of which `changed` differs from the frame before (the
    // first changes whole), and passes the pal8 frames that are ready to
    // `take`.
    bool Map(const TBitmap& display, const TRect& changed, int64_t pts,
             const std::function<bool(AVFrame*)>& take);
    // Passes the frames still held.
    bool Finish(const std::function<bool(AVFrame*)>& take);
    const std::string& Error() const { return error_; }

private:
    TFilterGraph graph_;
    TFramePtr frame_;
    std::string error_;
};

}  // namespace quil
