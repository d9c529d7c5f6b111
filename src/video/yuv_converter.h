#pragma once

#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "video/av_holders.h"
#include "video/video_size.h"

namespace quil {

// Turns the player's display into the yuv420p frames of H.264 and VP9:
// BT.709 coefficients, limited range, as the encoders tag their streams.
// Only the display's top-left part of the frame size is taken (the sides
// rounded down to even).
//
// The chroma of each 2 x 2 block of pixels is their exact mean (area
// averaging with accurate rounding), so a block converts the same alone as
// within the whole frame: only the part of a frame that changed is
// converted again, which is most of the work saved on a replay.
class TYuvConverter {
public:
    bool Open(TFrameSize size);
    // Converts the part `changed` of the display into `frame` (yuv420p of
    // the size given to Open, writable), leaving the rest of it as it is.
    bool Convert(const TBitmap& display, const TRect& changed, AVFrame* frame);

private:
    bool ScaleFor(int width, int height);

    TFrameSize size_;
    TScaleContextPtr scale_;
    int scaleWidth_ = 0, scaleHeight_ = 0;
    // The display's part copied first: the converter's vector code reads
    // a little past the end of a row, which the display's last row in
    // memory does not have, and a frame's buffers do.
    TFramePtr bgr_;
    TFramePtr yuv_;
};

}  // namespace quil
