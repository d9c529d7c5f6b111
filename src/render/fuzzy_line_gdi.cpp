#include "render/fuzzy_line_gdi.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/truncate.h"

namespace quil {

int64_t TFuzzyLineGDI::WorkWidthFor(int factor, int width) {
    if (factor == 2) return (2 * int64_t(width) + 3) & ~int64_t(3);
    return int64_t(factor) * width;
}

uint64_t TFuzzyLineGDI::SurfaceBytes(int factor, int width, int height) {
    const int64_t workWidth = WorkWidthFor(factor, width), workHeight = int64_t(factor) * height;
    const int64_t displayRow = RowStride(width, 24), workRow = RowStride(workWidth, 24),
                  maskRow = RowStride(workWidth, 8);
    if (width < 1 || height < 1 || displayRow < 0 || workRow < 0 || maskRow < 0 ||
        workHeight > INT32_MAX)
        return UINT64_MAX;
    // The column sums of the resolve are two bytes a work column and colour.
    return uint64_t(displayRow) * uint64_t(height) +
           uint64_t(2 * workRow + maskRow) * uint64_t(workHeight) + uint64_t(6) * workWidth;
}

TFuzzyLineGDI::TFuzzyLineGDI(IPresentTarget* window, int width, int height, int factor)
    : window_(window), width_(width), height_(height), factor_(factor) {
    // Checked for all the surfaces at once, before the first is made.
    if (!FitsInMemory(SurfaceBytes(factor, width, height))) return;
    if (!display_.Create(width, height, 24, 0xFF)) return;
    // A renderer on a window starts from what the window shows. A window
    // that handed back a picture of another shape is not trusted with it.
    if (window_) {
        window_->ReadBack(display_);
        if (display_.Width() != width || display_.Height() != height ||
            display_.BitsPerPixel() != 24) {
            if (!display_.Create(width, height, 24, 0xFF)) return;
        }
    }
    displayCanvas_.Attach(&display_);
}

TFuzzyLineGDI::~TFuzzyLineGDI() = default;

bool TFuzzyLineGDI::CreateWork(int workWidth, int workHeight) {
    valid_ = false;
    // The constructor weighed these surfaces with the display's.
    if (display_.Empty() || workWidth < 1 || workHeight < 1) return false;
    if (!work_.Create(workWidth, workHeight, 24, kPaperByte)) return false;
    if (!mask_.Create(workWidth, workHeight, 8, 0)) {
        work_.Reset();
        return false;
    }
    workWidth_ = workWidth;
    workHeight_ = workHeight;
    workCanvas_.Attach(&work_);
    valid_ = true;
    return true;
}

void TFuzzyLineGDI::SetViewport(int originX, int originY, int viewWidth, int viewHeight) {
    originX_ = float(originX);
    originY_ = float(originY);
    // A zero view size gives an infinite scale; the drawing operations clamp
    // every mapped coordinate, so it draws nothing sensible but stays safe.
    scaleX_ = float(double(width_) / double(viewWidth));
    scaleY_ = float(double(height_) / double(viewHeight));
}

void TFuzzyLineGDI::SetInverted(bool inverted) {
    if (inverted == inverted_) return;
    inverted_ = inverted;
    ResolveAll();
}

void TFuzzyLineGDI::InvertPenMarker(const PenPoint* point) {
    if (!valid_ || !point) return;
    const float f = float(factor_);
    auto mapX = [&](float x) { return TruncSample((x - originX_) * scaleX_ * f); };
    auto mapY = [&](float y) { return TruncSample((y - originY_) * scaleY_ * f); };
    const float x = point->x, y = point->y, r = point->radius;
    TCanvas& c = workCanvas_;
    c.SetBrushStyle(TBrushStyle::Clear);
    c.SetPenMode(TPenMode::NotXor);
    c.SetPenColor(kBlack);
    c.SetPenWidth(factor_);
    c.Ellipse(mapX(x - r), mapY(y - r), mapX(x + r), mapY(y + r));
    c.SetBrushStyle(TBrushStyle::Solid);
    c.SetPenMode(TPenMode::Copy);
    c.SetPenColor(inkColor_);
    c.SetPenWidth(1);
}

void TFuzzyLineGDI::SetColor(COLORREF c) {
    inkColor_ = c;
    inkRed_ = uint8_t(c & 0xFF);
    inkGreen_ = uint8_t((c >> 8) & 0xFF);
    inkBlue_ = uint8_t((c >> 16) & 0xFF);
}

void TFuzzyLineGDI::SetOpacity(int v) {
    // Negative values never come from a recording; they draw nothing.
    alpha_ = v < 0 ? 0 : (v < 256 ? v : 256);
    alphaComplement_ = 256 - alpha_;
}

void TFuzzyLineGDI::AddDirtyRect(int left, int top, int right, int bottom) {
    if (dirtyEmpty_) {
        dirty_ = {left, top, right, bottom};
        dirtyEmpty_ = false;
        return;
    }
    dirty_.left = std::min(dirty_.left, left);
    dirty_.top = std::min(dirty_.top, top);
    dirty_.right = std::max(dirty_.right, right);
    dirty_.bottom = std::max(dirty_.bottom, bottom);
}

void TFuzzyLineGDI::PresentAll() {
    if (window_ && !display_.Empty()) window_->Present(display_, 0, 0, width_, height_);
    dirtyEmpty_ = true;
}

void TFuzzyLineGDI::PresentDirty() {
    if (dirtyEmpty_) return;
    dirtyEmpty_ = true;
    if (!window_ || display_.Empty()) return;
    // The dirty rectangle may hold inverted corners (an empty resolve still
    // grows it) or reach past the surface (callers add their own): copy only
    // the part that exists.
    const int left = std::max(dirty_.left, 0), top = std::max(dirty_.top, 0);
    const int right = std::min(dirty_.right, width_), bottom = std::min(dirty_.bottom, height_);
    if (left >= right || top >= bottom) return;
    window_->Present(display_, left, top, right - left, bottom - top);
}

void TFuzzyLineGDI::CaptureBackground(const TBitmap& src, int srcWidth, int srcHeight) {
    if (!valid_) return;
    if (background_.Empty() && !background_.Create(workWidth_, workHeight_, 24, kPaperByte)) return;
    TCanvas canvas(&background_);
    canvas.StretchBlt(0, 0, workWidth_, workHeight_, src, 0, 0, srcWidth, srcHeight);
}

void TFuzzyLineGDI::ReleaseBackground() { background_.Reset(); }

void TFuzzyLineGDI::SetClipRect(int x0, int y0, int x1, int y1) {
    clipOn_ = true;
    // Samples per display pixel along each axis: the work factor (the ratio
    // of the surface sizes, except for a widened Middle surface of width 1).
    const int64_t f = factor_;
    auto clamp = [](int64_t v) { return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    clip_.left = clamp(x0 * f);
    clip_.right = clamp((int64_t(x1) + 1) * f - 1);
    clip_.top = clamp(y0 * f);
    clip_.bottom = clamp((int64_t(y1) + 1) * f - 1);
}

bool TFuzzyLineGDI::ClipToClipRect(int& x0, int& y0, int& x1, int& y1) const {
    if (clipOn_) {
        x0 = std::max(x0, clip_.left);
        y0 = std::max(y0, clip_.top);
        x1 = std::min(x1, clip_.right);
        y1 = std::min(y1, clip_.bottom);
    }
    // The box comes clipped to the work surface; stay inside it regardless.
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, workWidth_ - 1);
    y1 = std::min(y1, workHeight_ - 1);
    return valid_ && x0 <= x1 && y0 <= y1;
}

namespace {

// Whether the eight mask bytes from m on are all zero: most of a box is
// untouched by its shape, so whole runs are skipped at once.
inline bool EightClear(const uint8_t* m) {
    uint64_t word;
    std::memcpy(&word, m, sizeof word);
    return word == 0;
}

// The three compositing loops. Each walks the box (work samples, bounds
// inclusive, inside both surfaces) row by row and writes the samples whose
// mask byte is set, skipping clear mask bytes eight at a time.

// One colour, opaque: the bytes are copied. With `clearing` the mask byte
// is cleared behind the sample, so a later shape of a batch cannot ink it
// again.
void FillMasked(TBitmap& mask, TBitmap& work, int x0, int y0, int x1, int y1, uint8_t blue,
                uint8_t green, uint8_t red, bool clearing) {
    const int n = x1 - x0 + 1;
    for (int y = y0; y <= y1; ++y) {
        uint8_t* m = mask.ScanLine(y) + x0;
        uint8_t* p = work.ScanLine(y) + 3 * x0;
        for (int i = 0; i < n; ++i) {
            if (i + 8 <= n && EightClear(m + i)) {
                i += 7;
                continue;
            }
            if (!m[i]) continue;
            uint8_t* q = p + 3 * i;
            q[0] = blue;
            q[1] = green;
            q[2] = red;
            if (clearing) m[i] = 0;
        }
    }
}

// One colour blended with opacity a (1 .. 255): each byte c becomes
// (c (256 - a) + k a) >> 8, without rounding.
void BlendMasked(TBitmap& mask, TBitmap& work, int x0, int y0, int x1, int y1, uint8_t blue,
                 uint8_t green, uint8_t red, unsigned a, bool clearing) {
    const unsigned ca = 256 - a, kb = blue * a, kg = green * a, kr = red * a;
    const int n = x1 - x0 + 1;
    for (int y = y0; y <= y1; ++y) {
        uint8_t* m = mask.ScanLine(y) + x0;
        uint8_t* p = work.ScanLine(y) + 3 * x0;
        for (int i = 0; i < n; ++i) {
            if (i + 8 <= n && EightClear(m + i)) {
                i += 7;
                continue;
            }
            if (!m[i]) continue;
            uint8_t* q = p + 3 * i;
            q[0] = uint8_t((q[0] * ca + kb) >> 8);
            q[1] = uint8_t((q[1] * ca + kg) >> 8);
            q[2] = uint8_t((q[2] * ca + kr) >> 8);
            if (clearing) m[i] = 0;
        }
    }
}

// The layer's sample at the same place blended with opacity a (1 .. 256);
// at 256 the formula copies it: (c 0 + s 256) >> 8 = s. The layer has the
// work surface's layout.
void RestoreMasked(TBitmap& mask, TBitmap& work, const TBitmap& layer, int x0, int y0, int x1,
                   int y1, unsigned a) {
    const unsigned ca = 256 - a;
    const int n = x1 - x0 + 1;
    for (int y = y0; y <= y1; ++y) {
        const uint8_t* m = mask.ScanLine(y) + x0;
        uint8_t* p = work.ScanLine(y) + 3 * x0;
        const uint8_t* s = layer.ScanLine(y) + 3 * x0;
        for (int i = 0; i < n; ++i) {
            if (i + 8 <= n && EightClear(m + i)) {
                i += 7;
                continue;
            }
            if (!m[i]) continue;
            uint8_t* q = p + 3 * i;
            const uint8_t* r = s + 3 * i;
            q[0] = uint8_t((q[0] * ca + r[0] * a) >> 8);
            q[1] = uint8_t((q[1] * ca + r[1] * a) >> 8);
            q[2] = uint8_t((q[2] * ca + r[2] * a) >> 8);
        }
    }
}

}  // namespace

void TFuzzyLineGDI::CompositeColor(int x0, int y0, int x1, int y1, uint8_t blue, uint8_t green,
                                   uint8_t red, bool clearing) {
    if (!ClipToClipRect(x0, y0, x1, y1)) return;
    if (alpha_ >= 256)
        FillMasked(mask_, work_, x0, y0, x1, y1, blue, green, red, clearing);
    else
        BlendMasked(mask_, work_, x0, y0, x1, y1, blue, green, red, unsigned(alpha_), clearing);
}

void TFuzzyLineGDI::CompositeInk(int x0, int y0, int x1, int y1) {
    CompositeColor(x0, y0, x1, y1, inkBlue_, inkGreen_, inkRed_, false);
}

void TFuzzyLineGDI::CompositeInkClearing(int x0, int y0, int x1, int y1) {
    CompositeColor(x0, y0, x1, y1, inkBlue_, inkGreen_, inkRed_, true);
}

// The eraser restores the background layer where one exists, else paper.
void TFuzzyLineGDI::CompositeErase(int x0, int y0, int x1, int y1) {
    if (background_.Empty()) {
        CompositeColor(x0, y0, x1, y1, kPaperByte, kPaperByte, kPaperByte, false);
        return;
    }
    if (!ClipToClipRect(x0, y0, x1, y1)) return;
    RestoreMasked(mask_, work_, background_, x0, y0, x1, y1, unsigned(alpha_));
}

}  // namespace quil
