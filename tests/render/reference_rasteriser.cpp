#include "reference_rasteriser.h"

#include <algorithm>
#include <cstring>

#include "platform/raster_spans.h"

namespace quil::testing {

TReferenceRasteriser::TReferenceRasteriser(const TSampleGeometry& geometry, TBitmap& work,
                                           const TBitmap* layer)
    : g_(geometry), work_(work), layer_(layer) {
    mask_.Create(g_.workWidth, g_.workHeight, 8, 0);
    clip_ = {0, 0, g_.workWidth - 1, g_.workHeight - 1};
}

void TReferenceRasteriser::SetInk(COLORREF color, int opacity) {
    ink_[0] = BlueOf(color);
    ink_[1] = GreenOf(color);
    ink_[2] = RedOf(color);
    alpha_ = std::clamp(opacity, 0, 256);
}

void TReferenceRasteriser::MaskDisc(float x, float y, float r, uint8_t value) {
    const TEllipseSpans e = g_.Disc(x, y, r);
    if (e.Empty()) return;
    for (int row = std::max(e.FirstRow(), 0); row <= std::min(e.LastRow(), g_.workHeight - 1);
         ++row) {
        int a, b;
        if (!e.Row(row, a, b)) continue;
        a = std::max(a, 0);
        b = std::min(b, g_.workWidth - 1);
        if (a <= b) std::memset(mask_.ScanLine(row) + a, value, size_t(b - a + 1));
    }
}

void TReferenceRasteriser::Composite(const TSampleBox& box, bool erase) {
    const int x0 = std::max(box.left, clip_.left), x1 = std::min(box.right, clip_.right);
    const int y0 = std::max(box.top, clip_.top), y1 = std::min(box.bottom, clip_.bottom);
    const unsigned a = unsigned(alpha_);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            if (mask_.ScanLine(y)[x] == 0) continue;
            uint8_t* sample = work_.ScanLine(y) + 3 * x;
            for (int c = 0; c < 3; ++c) {
                const unsigned k =
                    !erase ? ink_[c] : (layer_ ? layer_->ScanLine(y)[3 * x + c] : 255u);
                sample[c] = uint8_t((sample[c] * (256 - a) + k * a) >> 8);
            }
        }
}

bool TReferenceRasteriser::Dot(const PenPoint& p, bool erase, TSampleBox& box) {
    box = g_.DiscBox(p.x, p.y, p.radius);
    if (!g_.ClipToSurface(box)) return false;
    for (int y = box.top; y <= box.bottom; ++y)
        std::memset(mask_.ScanLine(y) + box.left, 0, size_t(box.right - box.left + 1));
    MaskDisc(p.x, p.y, p.radius, 0xFF);
    Composite(box, erase);
    return true;
}

bool TReferenceRasteriser::Segment(const PenSegment& s, bool erase, TSampleBox& box) {
    box = g_.SegmentBox(s);
    if (!g_.ClipToSurface(box)) return false;
    for (int y = box.top; y <= box.bottom; ++y)
        std::memset(mask_.ScanLine(y) + box.left, 0, size_t(box.right - box.left + 1));
    MaskDisc(s.x1, s.y1, s.r1, 0xFF);
    TPoint quad[4];
    if (g_.TangentQuad(s, false, quad)) {
        TPolygonSpans polygon;
        polygon.Fill(quad, 4, 0, 0, g_.workWidth - 1, g_.workHeight - 1, [&](int y, int a, int b) {
            std::memset(mask_.ScanLine(y) + a, 0xFF, size_t(b - a + 1));
        });
    }
    MaskDisc(s.x0, s.y0, s.r0, 0);
    Composite(box, erase);
    return true;
}

}  // namespace quil::testing
