#pragma once

#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "video/av_holders.h"
#include "video/video_size.h"

namespace quil {

// A frame of `format` and `size` with its own buffers, or nullptr.
TFramePtr NewFrame(AVPixelFormat format, TFrameSize size);

// Copies the top-left part of the display (24-bit blue, green, red,
// stored bottom-up) into a bgr24 frame of the frame's size, top-down.
// The frame must be writable and no larger than the display.
void CopyDisplayToFrame(const TBitmap& display, AVFrame* frame);

// The same for the part `area` alone, which must lie inside both.
void CopyDisplayToFrame(const TBitmap& display, const TRect& area, AVFrame* frame);

}  // namespace quil
