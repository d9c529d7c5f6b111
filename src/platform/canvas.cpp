#include "platform/canvas.h"

#include <algorithm>

#include "platform/canvas_pixels.h"
#include "platform/raster_spans.h"

namespace quil {

void WriteSpan(TBitmap& target, int y, int x0, int x1, COLORREF c, TPenMode mode) {
    if (target.Empty() || y < 0 || y >= target.Height()) return;
    if (x0 < 0) x0 = 0;
    if (x1 >= target.Width()) x1 = target.Width() - 1;
    if (x0 > x1) return;
    uint8_t* row = target.ScanLine(y);
    const int n = x1 - x0 + 1;
    if (target.BitsPerPixel() == 8) {
        uint8_t* p = row + x0;
        const uint8_t g = GreyOf(c);
        if (mode == TPenMode::Copy) {
            for (int i = 0; i < n; ++i)
                p[i] = g;
        } else {
            for (int i = 0; i < n; ++i)
                p[i] = uint8_t(~(g ^ p[i]));
        }
        return;
    }
    uint8_t* p = row + 3 * x0;
    const uint8_t b = BlueOf(c), g = GreenOf(c), r = RedOf(c);
    if (mode == TPenMode::Copy) {
        for (int i = 0; i < n; ++i, p += 3) {
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    } else {
        for (int i = 0; i < n; ++i, p += 3) {
            p[0] = uint8_t(~(b ^ p[0]));
            p[1] = uint8_t(~(g ^ p[1]));
            p[2] = uint8_t(~(r ^ p[2]));
        }
    }
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    if (!target_ || target_->Empty()) return;
    const TEllipseRingSpans ring(left, top, right, bottom, penWidth_);
    const TEllipseSpans& outer = ring.Outer();
    if (outer.Empty()) return;
    const int y0 = std::max(outer.FirstRow(), 0);
    const int y1 = std::min(outer.LastRow(), target_->Height() - 1);
    const bool fill = brushStyle_ == TBrushStyle::Solid;
    for (int y = y0; y <= y1; ++y) {
        const TRowSpans r = ring.Row(y);
        for (int i = 0; i < r.count; ++i)
            WriteSpan(*target_, y, r.x0[i], r.x1[i], penColor_, penMode_);
        int a, b;
        if (fill && ring.Inner().Row(y, a, b)) WriteSpan(*target_, y, a, b, brushColor_, penMode_);
    }
}

void TCanvas::Polygon(const TPoint* points, int count) {
    if (!target_ || target_->Empty() || !points || count < 1) return;
    TPolygonSpans spans;
    const int right = target_->Width() - 1, bottom = target_->Height() - 1;
    auto pen = [&](int y, int a, int b) { WriteSpan(*target_, y, a, b, penColor_, penMode_); };
    if (brushStyle_ == TBrushStyle::Clear) {
        spans.FillSeparate(
            points, count, 0, 0, right, bottom, [](int, int, int) {}, pen);
    } else if (brushColor_ == penColor_) {
        spans.Fill(points, count, 0, 0, right, bottom, pen);
    } else {
        auto brush = [&](int y, int a, int b) {
            WriteSpan(*target_, y, a, b, brushColor_, penMode_);
        };
        spans.FillSeparate(points, count, 0, 0, right, bottom, brush, pen);
    }
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (!target_ || target_->Empty()) return;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (left == right || top == bottom) return;
    // The outline of pen width w lies inside the rectangle.
    const int w = penWidth_;
    const int y0 = std::max(top, 0), y1 = std::min(bottom, target_->Height()) - 1;
    const bool fill = brushStyle_ == TBrushStyle::Solid;
    for (int y = y0; y <= y1; ++y) {
        if (y < top + w || y >= bottom - w || right - left <= 2 * w) {
            WriteSpan(*target_, y, left, right - 1, penColor_, penMode_);
            continue;
        }
        WriteSpan(*target_, y, left, left + w - 1, penColor_, penMode_);
        WriteSpan(*target_, y, right - w, right - 1, penColor_, penMode_);
        if (fill) WriteSpan(*target_, y, left + w, right - w - 1, brushColor_, penMode_);
    }
}

void TCanvas::FillRect(const TRect& rect) {
    if (!target_ || target_->Empty() || brushStyle_ == TBrushStyle::Clear) return;
    const int left = std::min(rect.left, rect.right), right = std::max(rect.left, rect.right);
    const int top = std::min(rect.top, rect.bottom), bottom = std::max(rect.top, rect.bottom);
    const int y0 = std::max(top, 0), y1 = std::min(bottom, target_->Height()) - 1;
    for (int y = y0; y <= y1; ++y)
        WriteSpan(*target_, y, left, right - 1, brushColor_, TPenMode::Copy);
}

}  // namespace quil
