#include "video/gif_palette.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <algorithm>

#include "video/display_frame.h"

namespace quil {

namespace {

// The palette's own size: 256 colours as 16 x 16 pixels.
constexpr int kPaletteSide = 16;

std::string SourceArguments(TFrameSize size, const char* format, int fps) {
    return "video_size=" + std::to_string(size.width) + "x" + std::to_string(size.height) +
           ":pix_fmt=" + format + ":time_base=1/" + std::to_string(fps) + ":pixel_aspect=1/1";
}

// Copies the part of the display that changed into `frame`, which holds
// the frame before, first making the frame writable again when the filters
// still hold a reference of it (that keeps its contents).
bool FillFrame(const TBitmap& display, const TRect& changed, AVFrame* frame, int64_t pts) {
    const TRect area{std::max(changed.left, 0), std::max(changed.top, 0),
                     std::min(changed.right, frame->width),
                     std::min(changed.bottom, frame->height)};
    if (area.left < area.right && area.top < area.bottom) {
        if (av_frame_make_writable(frame) < 0) return false;
        CopyDisplayToFrame(display, area, frame);
    }
    frame->pts = pts;
    return true;
}

}  // namespace

bool TPaletteMaker::Open(TFrameSize size, int fps) {
    frame_ = NewFrame(AV_PIX_FMT_BGR24, size);
    if (!frame_) {
        error_ = "out of memory";
        return false;
    }
    return graph_.Build({SourceArguments(size, "bgr24", fps)},
                        "[in0]palettegen=max_colors=256:reserve_transparent=0[out]", error_);
}

bool TPaletteMaker::Add(const TBitmap& display, const TRect& changed, int64_t pts) {
    if (!FillFrame(display, changed, frame_.get(), pts) || !graph_.Push(0, frame_.get())) {
        error_ = "the palette cannot take the frame";
        return false;
    }
    // palettegen gives its palette only at the end; nothing comes out here.
    return graph_.Pull([](AVFrame*) { return true; });
}

TFramePtr TPaletteMaker::Finish() {
    TFramePtr palette;
    const bool ok = graph_.Push(0, nullptr) && graph_.Pull([&](AVFrame* frame) {
        palette.reset(av_frame_clone(frame));
        return palette != nullptr;
    });
    if (!ok || !palette) {
        error_ = "the palette cannot be made";
        return nullptr;
    }
    return palette;
}

bool TPaletteMapper::Open(TFrameSize size, int fps, const AVFrame& palette) {
    frame_ = NewFrame(AV_PIX_FMT_BGR24, size);
    if (!frame_) {
        error_ = "out of memory";
        return false;
    }
    const TFrameSize paletteSize{kPaletteSide, kPaletteSide};
    const char* paletteFormat = av_get_pix_fmt_name(AVPixelFormat(palette.format));
    if (!graph_.Build({SourceArguments(size, "bgr24", fps),
                       SourceArguments(paletteSize, paletteFormat ? paletteFormat : "bgra", fps)},
                      "[in0][in1]paletteuse=dither=sierra2_4a:diff_mode=rectangle[out]", error_))
        return false;
    // The palette is the second input's only frame, used for every frame.
    TFramePtr first(av_frame_clone(&palette));
    if (!first) {
        error_ = "out of memory";
        return false;
    }
    first->pts = 0;
    if (!graph_.Push(1, first.get()) || !graph_.Push(1, nullptr)) {
        error_ = "the palette cannot be used";
        return false;
    }
    return true;
}

bool TPaletteMapper::Map(const TBitmap& display, const TRect& changed, int64_t pts,
                         const std::function<bool(AVFrame*)>& take) {
    if (!FillFrame(display, changed, frame_.get(), pts) || !graph_.Push(0, frame_.get())) {
        error_ = "the frame cannot be mapped to the palette";
        return false;
    }
    return graph_.Pull(take);
}

bool TPaletteMapper::Finish(const std::function<bool(AVFrame*)>& take) {
    return graph_.Push(0, nullptr) && graph_.Pull(take);
}

}  // namespace quil
