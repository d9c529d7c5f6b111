#include "video/display_frame.h"

#include <cstring>

namespace quil {

TFramePtr NewFrame(AVPixelFormat format, TFrameSize size) {
    TFramePtr frame(av_frame_alloc());
    if (!frame) return nullptr;
    frame->format = format;
    frame->width = size.width;
    frame->height = size.height;
    if (av_frame_get_buffer(frame.get(), 0) < 0) return nullptr;
    return frame;
}

void CopyDisplayToFrame(const TBitmap& display, AVFrame* frame) {
    CopyDisplayToFrame(display, {0, 0, frame->width, frame->height}, frame);
}

void CopyDisplayToFrame(const TBitmap& display, const TRect& area, AVFrame* frame) {
    const size_t offset = size_t(area.left) * 3;
    const size_t rowBytes = size_t(area.right - area.left) * 3;
    for (int y = area.top; y < area.bottom; ++y)
        std::memcpy(frame->data[0] + size_t(y) * size_t(frame->linesize[0]) + offset,
                    display.ScanLine(y) + offset, rowBytes);
}

}  // namespace quil
