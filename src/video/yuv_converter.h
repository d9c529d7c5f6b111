#pragma once

#include "platform/bitmap.h"
#include "video/av_holders.h"
#include "video/video_size.h"

namespace quil {

// Turns the player's display into the yuv420p frames of H.264 and VP9:
// BT.709 coefficients, limited range, as the encoders tag their streams.
// Only the display's top-left part of the frame size is taken (the sides
// rounded down to even).
class TYuvConverter {
public:
    bool Open(TFrameSize size);
    // Converts into `frame` (yuv420p of the size given to Open, writable).
    bool Convert(const TBitmap& display, AVFrame* frame);

private:
    TFrameSize size_;
    TScaleContextPtr scale_;
    // The display's part copied first: the converter's vector code reads
    // a little past the end of a row, which the display's last row in
    // memory does not have, and a frame's buffers do.
    TFramePtr bgr_;
};

}  // namespace quil
