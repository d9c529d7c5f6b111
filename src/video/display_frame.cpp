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
    const size_t rowBytes = size_t(frame->width) * 3;
    for (int y = 0; y < frame->height; ++y)
        std::memcpy(frame->data[0] + size_t(y) * size_t(frame->linesize[0]), display.ScanLine(y),
                    rowBytes);
}

}  // namespace quil
