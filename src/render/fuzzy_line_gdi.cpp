#include "render/fuzzy_line_gdi.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "render/composite_spans.h"

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
    : window_(window), width_(width), height_(height) {
    geometry_.factor = factor;
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
    geometry_.workWidth = workWidth;
    geometry_.workHeight = workHeight;
    workCanvas_.Attach(&work_);
    valid_ = true;
    return true;
}

void TFuzzyLineGDI::SetViewport(int originX, int originY, int viewWidth, int viewHeight) {
    geometry_.originX = float(originX);
    geometry_.originY = float(originY);
    // A zero view size gives an infinite scale; the drawing operations clamp
    // every mapped coordinate, so it draws nothing sensible but stays safe.
    geometry_.scaleX = float(double(width_) / double(viewWidth));
    geometry_.scaleY = float(double(height_) / double(viewHeight));
}

void TFuzzyLineGDI::SetInverted(bool inverted) {
    if (inverted == inverted_) return;
    inverted_ = inverted;
    ResolveAll();
}

void TFuzzyLineGDI::ResolveSamples(const TSampleBox& box) {
    const TRect r = geometry_.DisplayAround(box);
    ResolveRect(r.left, r.top, r.right, r.bottom);
}

void TFuzzyLineGDI::InvertPenMarker(const PenPoint* point) {
    if (!valid_ || !point) return;
    const TSampleGeometry& g = geometry_;
    const float x = point->x, y = point->y, r = point->radius;
    TCanvas& c = workCanvas_;
    c.SetBrushStyle(TBrushStyle::Clear);
    c.SetPenMode(TPenMode::NotXor);
    c.SetPenColor(kBlack);
    c.SetPenWidth(g.factor);
    c.Ellipse(g.MapX(x - r), g.MapY(y - r), g.MapX(x + r), g.MapY(y + r));
    c.SetBrushStyle(TBrushStyle::Solid);
    c.SetPenMode(TPenMode::Copy);
    c.SetPenColor(inkColor_);
    c.SetPenWidth(1);
}

void TFuzzyLineGDI::SetColor(COLORREF c) {
    inkColor_ = c;
    ink_ = TInk(inkColor_, alpha_);
}

void TFuzzyLineGDI::SetOpacity(int v) {
    alpha_ = ClampedOpacity(v);
    ink_ = TInk(inkColor_, alpha_);
    paper_ = TInk(kPaperColor, alpha_);
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
    // A source of the layer's own size is copied row by row, over a layer
    // that need not be filled first.
    const bool oneToOne = srcWidth == geometry_.workWidth && srcHeight == geometry_.workHeight &&
                          src.Width() == geometry_.workWidth &&
                          src.Height() == geometry_.workHeight && src.BitsPerPixel() == 24;
    if (background_.Empty() && !background_.Create(geometry_.workWidth, geometry_.workHeight, 24,
                                                   oneToOne ? 0 : kPaperByte))
        return;
    TCanvas canvas(&background_);
    if (oneToOne)
        canvas.Draw(0, 0, src);
    else
        canvas.StretchBlt(0, 0, geometry_.workWidth, geometry_.workHeight, src, 0, 0, srcWidth,
                          srcHeight);
}

void TFuzzyLineGDI::ReleaseBackground() { background_.Reset(); }

void TFuzzyLineGDI::SetClipRect(int x0, int y0, int x1, int y1) {
    clipOn_ = true;
    // Samples per display pixel along each axis: the work factor (the ratio
    // of the surface sizes, except for a widened Middle surface of width 1).
    const int64_t f = geometry_.factor;
    auto clamp = [](int64_t v) { return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    clip_.left = clamp(x0 * f);
    clip_.right = clamp((int64_t(x1) + 1) * f - 1);
    clip_.top = clamp(y0 * f);
    clip_.bottom = clamp((int64_t(y1) + 1) * f - 1);
}

TSampleBox TFuzzyLineGDI::DrawingLimits() const {
    TSampleBox limits{0, 0, geometry_.workWidth - 1, geometry_.workHeight - 1};
    if (clipOn_) {
        limits.left = std::max(limits.left, clip_.left);
        limits.top = std::max(limits.top, clip_.top);
        limits.right = std::min(limits.right, clip_.right);
        limits.bottom = std::min(limits.bottom, clip_.bottom);
    }
    return limits;
}

bool TFuzzyLineGDI::ClipToClipRect(int& x0, int& y0, int& x1, int& y1) const {
    // The box comes clipped to the work surface; stay inside it regardless.
    const TSampleBox limits = DrawingLimits();
    x0 = std::max(x0, limits.left);
    y0 = std::max(y0, limits.top);
    x1 = std::min(x1, limits.right);
    y1 = std::min(y1, limits.bottom);
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

// Calls run(x, n) for every run of n set mask bytes from column x on, in
// the columns x0..x1 of row y of the box, for each row y0..y1; with
// `clearing` the run's mask bytes are cleared once it is composited, so a
// later shape of a batch cannot ink them again.
template <class Run>
void ForEachMaskRun(TBitmap& mask, int x0, int y0, int x1, int y1, bool clearing, Run run) {
    const int n = x1 - x0 + 1;
    for (int y = y0; y <= y1; ++y) {
        uint8_t* m = mask.ScanLine(y) + x0;
        int i = 0;
        while (i < n) {
            if (i + 8 <= n && EightClear(m + i)) {
                i += 8;
                continue;
            }
            if (!m[i]) {
                ++i;
                continue;
            }
            int j = i + 1;
            while (j < n && m[j])
                ++j;
            run(y, x0 + i, j - i);
            if (clearing) std::memset(m + i, 0, size_t(j - i));
            i = j;
        }
    }
}

}  // namespace

void TFuzzyLineGDI::CompositeColor(int x0, int y0, int x1, int y1, const TInk& ink, bool clearing) {
    if (!ClipToClipRect(x0, y0, x1, y1)) return;
    ForEachMaskRun(mask_, x0, y0, x1, y1, clearing,
                   [&](int y, int x, int n) { ink.Span(work_.ScanLine(y) + 3 * size_t(x), n); });
}

void TFuzzyLineGDI::CompositeInk(int x0, int y0, int x1, int y1) {
    CompositeColor(x0, y0, x1, y1, ink_, false);
}

void TFuzzyLineGDI::CompositeInkClearing(int x0, int y0, int x1, int y1) {
    CompositeColor(x0, y0, x1, y1, ink_, true);
}

// The eraser restores the background layer where one exists, else paper.
void TFuzzyLineGDI::CompositeErase(int x0, int y0, int x1, int y1) {
    if (background_.Empty()) {
        CompositeColor(x0, y0, x1, y1, paper_, false);
        return;
    }
    if (!ClipToClipRect(x0, y0, x1, y1)) return;
    ForEachMaskRun(mask_, x0, y0, x1, y1, false, [&](int y, int x, int n) {
        RestoreSpan(work_.ScanLine(y) + 3 * size_t(x), background_.ScanLine(y) + 3 * size_t(x), n,
                    unsigned(alpha_));
    });
}

}  // namespace quil
