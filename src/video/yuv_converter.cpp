#include "video/yuv_converter.h"

#include "video/display_frame.h"

namespace quil {

bool TYuvConverter::Open(TFrameSize size) {
    size_ = size;
    bgr_ = NewFrame(AV_PIX_FMT_BGR24, size);
    // Accurate rounding: the chroma of 2 x 2 pixels is their exact mean.
    scale_.reset(sws_getContext(size.width, size.height, AV_PIX_FMT_BGR24, size.width, size.height,
                                AV_PIX_FMT_YUV420P, SWS_BILINEAR | SWS_ACCURATE_RND, nullptr,
                                nullptr, nullptr));
    if (!bgr_ || !scale_) return false;
    // Source: full-range RGB (its table is not used for RGB); destination:
    // BT.709, limited range. Brightness 0, contrast and saturation 1.0.
    const int* rgb = sws_getCoefficients(SWS_CS_DEFAULT);
    const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
    return sws_setColorspaceDetails(scale_.get(), rgb, 1, bt709, 0, 0, 1 << 16, 1 << 16) >= 0;
}

bool TYuvConverter::Convert(const TBitmap& display, AVFrame* frame) {
    if (!scale_ || display.Width() < size_.width || display.Height() < size_.height) return false;
    CopyDisplayToFrame(display, bgr_.get());
    return sws_scale(scale_.get(), bgr_->data, bgr_->linesize, 0, size_.height, frame->data,
                     frame->linesize) == size_.height;
}

}  // namespace quil
