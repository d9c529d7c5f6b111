#include "video/yuv_converter.h"

#include <algorithm>
#include <cstring>

#include "video/display_frame.h"

namespace quil {

namespace {

// A part of a frame is converted at least this many rows high: the
// converter's path for a picture of one chroma row rounds differently.
constexpr int kMinRows = 4;

}  // namespace

bool TYuvConverter::Open(TFrameSize size) {
    size_ = size;
    bgr_ = NewFrame(AV_PIX_FMT_BGR24, size);
    yuv_ = NewFrame(AV_PIX_FMT_YUV420P, size);
    return bgr_ && yuv_ && ScaleFor(size.width, size.height);
}

// A converter for pictures of width x height, made again only when the
// size changes.
bool TYuvConverter::ScaleFor(int width, int height) {
    if (scale_ && width == scaleWidth_ && height == scaleHeight_) return true;
    scale_.reset(sws_getContext(width, height, AV_PIX_FMT_BGR24, width, height, AV_PIX_FMT_YUV420P,
                                SWS_AREA | SWS_ACCURATE_RND, nullptr, nullptr, nullptr));
    scaleWidth_ = width;
    scaleHeight_ = height;
    if (!scale_) return false;
    // Source: full-range RGB (its table is not used for RGB); destination:
    // BT.709, limited range. Brightness 0, contrast and saturation 1.0.
    const int* rgb = sws_getCoefficients(SWS_CS_DEFAULT);
    const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
    return sws_setColorspaceDetails(scale_.get(), rgb, 1, bt709, 0, 0, 1 << 16, 1 << 16) >= 0;
}

bool TYuvConverter::Convert(const TBitmap& display, const TRect& changed, AVFrame* frame) {
    if (!bgr_ || display.Width() < size_.width || display.Height() < size_.height) return false;
    // Whole 2 x 2 blocks inside the frame.
    int x0 = std::max(changed.left, 0) & ~1, y0 = std::max(changed.top, 0) & ~1;
    int x1 = std::min((changed.right + 1) & ~1, size_.width);
    int y1 = std::min((changed.bottom + 1) & ~1, size_.height);
    if (x0 >= x1 || y0 >= y1) return true;
    if (size_.height <= kMinRows) {
        x0 = y0 = 0;  // the whole frame, always the same way
        x1 = size_.width;
        y1 = size_.height;
    } else if (y1 - y0 < kMinRows) {
        if (y0 + kMinRows <= size_.height)
            y1 = y0 + kMinRows;
        else
            y0 = size_.height - kMinRows;
    }
    if (!ScaleFor(x1 - x0, y1 - y0)) return false;
    CopyDisplayToFrame(display, {x0, y0, x1, y1}, bgr_.get());
    const uint8_t* source[1] = {bgr_->data[0] + size_t(y0) * bgr_->linesize[0] + size_t(x0) * 3};
    if (sws_scale(scale_.get(), source, bgr_->linesize, 0, y1 - y0, yuv_->data, yuv_->linesize) !=
        y1 - y0)
        return false;
    // The converter writes a little past the right end of its rows: the
    // part is made in a frame of its own and copied over exactly.
    for (int plane = 0; plane < 3; ++plane) {
        const int shift = plane == 0 ? 0 : 1;
        const size_t offset = size_t(x0 >> shift), bytes = size_t((x1 - x0) >> shift);
        for (int y = 0; y < (y1 - y0) >> shift; ++y)
            std::memcpy(
                frame->data[plane] + size_t((y0 >> shift) + y) * frame->linesize[plane] + offset,
                yuv_->data[plane] + size_t(y) * yuv_->linesize[plane], bytes);
    }
    return true;
}

}  // namespace quil
