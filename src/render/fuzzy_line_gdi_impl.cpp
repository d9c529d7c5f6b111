#include "render/fuzzy_line_gdi_impl.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "platform/truncate.h"
#include "render/resolve_rows.h"

namespace quil {

template <int F>
TFuzzyLineGDIImpl<F>::TFuzzyLineGDIImpl(IPresentTarget* window, int width, int height)
    : TFuzzyLineGDI(window, width, height, F) {
    const int64_t ww = WorkWidthFor(F, width), wh = int64_t(F) * height;
    if (ww > INT32_MAX / 3 || wh > INT32_MAX) return;
    if (!CreateWork(int(ww), int(wh))) return;
    columnSums_.reset(new (std::nothrow) uint16_t[size_t(3) * size_t(ww) + 16]);
    if (!columnSums_) valid_ = false;
}

template <int F>
void TFuzzyLineGDIImpl<F>::SetViewport(int originX, int originY, int viewWidth, int viewHeight) {
    TFuzzyLineGDI::SetViewport(originX, originY, viewWidth, viewHeight);
    geometry_.originWorkX = TruncSample(geometry_.originX * float(F));
    geometry_.originWorkY = TruncSample(geometry_.originY * float(F));
}

template <int F>
void TFuzzyLineGDIImpl<F>::ClearMask(const TBox& box) {
    if (box.right < box.left) return;
    const size_t n = size_t(box.right - box.left + 1);
    for (int y = box.top; y <= box.bottom; ++y)
        std::memset(MaskRow(y) + box.left, 0, n);
}

template <int F>
void TFuzzyLineGDIImpl<F>::MaskSpan(int y, int x0, int x1, TMaskOp op) {
    uint8_t* m = MaskRow(y) + x0;
    const size_t n = size_t(x1 - x0 + 1);
    switch (op) {
    case TMaskOp::Add: std::memset(m, 0xFF, n); break;
    case TMaskOp::AddNew:
        for (size_t i = 0; i < n; ++i)
            if (m[i] == 0) m[i] = 0xFF;
        break;
    case TMaskOp::RemoveNew:
        for (size_t i = 0; i < n; ++i)
            if (m[i] == 0xFF) m[i] = 0;
        break;
    }
}

// Marks the samples a batch item added (255) as taken (1), so that later
// items' start discs do not remove them.
template <int F>
void TFuzzyLineGDIImpl<F>::KeepNewSamples(const TBox& box) {
    for (int y = box.top; y <= box.bottom; ++y) {
        uint8_t* m = MaskRow(y);
        for (int x = box.left; x <= box.right; ++x)
            if (m[x] == 0xFF) m[x] = 1;
    }
}

// The disc as the platform's Ellipse draws it with a pen and brush of one
// colour.
template <int F>
void TFuzzyLineGDIImpl<F>::MaskDisc(float x, float y, float r, TMaskOp op) {
    const TEllipseSpans e = geometry_.Disc(x, y, r);
    if (e.Empty()) return;
    const int y0 = std::max(e.FirstRow(), 0), y1 = std::min(e.LastRow(), geometry_.workHeight - 1);
    for (int row = y0; row <= y1; ++row) {
        int a, b;
        if (!e.Row(row, a, b)) continue;
        a = std::max(a, 0);
        b = std::min(b, geometry_.workWidth - 1);
        if (a <= b) MaskSpan(row, a, b, op);
    }
}

// The quadrilateral between the outer common tangents of the two discs,
// drawn only when |dr| < d (the batches).
template <int F>
void TFuzzyLineGDIImpl<F>::MaskTangentQuad(const PenSegment& s, TMaskOp op) {
    TPoint quad[4];
    if (!geometry_.TangentQuad(s, true, quad)) return;
    const int right = geometry_.workWidth - 1, bottom = geometry_.workHeight - 1;
    polygon_.Fill(quad, 4, 0, 0, right, bottom,
                  [this, op](int y, int a, int b) { MaskSpan(y, a, b, op); });
}

template <int F>
void TFuzzyLineGDIImpl<F>::PreparePainter() {
    painter_.SetLimits(DrawingLimits());
    painter_.SetColor(inkColor_);
    painter_.SetOpacity(alpha_);
}

template <int F>
void TFuzzyLineGDIImpl<F>::DotWith(const PenPoint& p, bool erase, bool marker) {
    PreparePainter();
    TBox box;
    if (!painter_.Dot(p, erase, box)) return;
    if (marker && penMarker_ && p.radius > 0) InvertPenMarker(&p);
    ResolveSamples(box);
}

template <int F>
void TFuzzyLineGDIImpl<F>::SegmentWith(const PenSegment& s, bool erase, bool marker, bool strict) {
    // Inverts back the ring the previous call left at the start point.
    if (marker && penMarker_ && s.r0 > 0) {
        const PenPoint start{s.x0, s.y0, s.r0};
        InvertPenMarker(&start);
    }
    PreparePainter();
    TBox box;
    // Only new area is inked: the start disc was inked by the step before.
    if (!painter_.Segment(s, erase, strict, box)) return;
    if (marker && penMarker_ && s.r1 > 0) {
        const PenPoint end{s.x1, s.y1, s.r1};
        InvertPenMarker(&end);
    }
    ResolveSamples(box);
}

template <int F>
void TFuzzyLineGDIImpl<F>::FillPolygon(const float* xs, const float* ys, int count) {
    if (!valid_ || alpha_ == 0 || drawingLevel_ < kMinimumLevel) return;
    if (!xs || !ys || count < 1) return;
    // The box is that of the mapped vertices, so it holds the whole outline.
    std::unique_ptr<TPoint[]> points(new (std::nothrow) TPoint[size_t(count)]);
    if (!points) return;
    TBox box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int i = 0; i < count; ++i) {
        points[i] = {geometry_.MapX(xs[i]), geometry_.MapY(ys[i])};
        box.left = std::min(box.left, points[i].x);
        box.right = std::max(box.right, points[i].x);
        box.top = std::min(box.top, points[i].y);
        box.bottom = std::max(box.bottom, points[i].y);
    }
    if (!geometry_.ClipToSurface(box)) return;
    ClearMask(box);
    TPolygonSpans spans;
    spans.Fill(
        points.get(), count, box.left, box.top, box.right, box.bottom,
        [this](int y, int a, int b) { std::memset(MaskRow(y) + a, 0xFF, size_t(b - a + 1)); });
    CompositeInk(box.left, box.top, box.right, box.bottom);
    ResolveSamples(box);
}

template <int F>
void TFuzzyLineGDIImpl<F>::DrawDot(const PenPoint* point) {
    if (!valid_ || !point || alpha_ == 0 || drawingLevel_ < kMinimumLevel) return;
    DotWith(*point, false, true);
}

template <int F>
void TFuzzyLineGDIImpl<F>::DrawSegment(const PenSegment* segment) {
    if (!valid_ || !segment || alpha_ == 0 || drawingLevel_ < kMinimumLevel) return;
    SegmentWith(*segment, false, true, false);
}

template <int F>
void TFuzzyLineGDIImpl<F>::EraseDot(const PenPoint* point) {
    if (!valid_ || !point || alpha_ == 0 || drawingLevel_ < kMinimumLevel) return;
    DotWith(*point, true, false);
}

template <int F>
void TFuzzyLineGDIImpl<F>::EraseSegment(const PenSegment* segment) {
    if (!valid_ || !segment || alpha_ == 0 || drawingLevel_ < kMinimumLevel) return;
    SegmentWith(*segment, true, false, false);
}

template <int F>
void TFuzzyLineGDIImpl<F>::DrawDotAtLevel(const PenPoint* point, int level) {
    drawingLevel_ = level;
    if (alpha_ != 0) DrawDot(point);
}

template <int F>
void TFuzzyLineGDIImpl<F>::DrawSegmentLevels(const PenSegment* segment, int startLevel,
                                             int endLevel) {
    if (startLevel == endLevel) {
        drawingLevel_ = startLevel;
        DrawSegment(segment);
        return;
    }
    drawingLevel_ = endLevel;
    if (!valid_ || !segment || alpha_ == 0) return;
    SegmentWith(*segment, false, false, true);
}

template <int F>
void TFuzzyLineGDIImpl<F>::DrawDots(const PenPoint* points, int level, int count) {
    drawingLevel_ = level;
    if (!valid_ || !points || alpha_ == 0 || count < 1) return;
    // Temporaries for the batch; a batch too large for memory draws nothing.
    std::unique_ptr<TBox[]> boxes(new (std::nothrow) TBox[size_t(count)]);
    std::unique_ptr<bool[]> kept(new (std::nothrow) bool[size_t(count)]);
    if (!boxes || !kept) return;
    for (int i = 0; i < count; ++i) {
        boxes[i] = geometry_.DiscBox(points[i].x, points[i].y, points[i].radius);
        kept[i] = geometry_.ClipToSurface(boxes[i]);
    }
    for (int i = 0; i < count; ++i)
        if (kept[i]) ClearMask(boxes[i]);
    for (int i = 0; i < count; ++i)
        if (kept[i]) MaskDisc(points[i].x, points[i].y, points[i].radius, TMaskOp::Add);
    // The compositor clears the mask behind it: overlaps are inked once.
    for (int i = 0; i < count; ++i) {
        if (!kept[i]) continue;
        CompositeInkClearing(boxes[i].left, boxes[i].top, boxes[i].right, boxes[i].bottom);
        ResolveSamples(boxes[i]);
    }
}

template <int F>
void TFuzzyLineGDIImpl<F>::DrawSegments(const PenSegment* segments, int startLevel, int endLevel,
                                        int count) {
    (void)startLevel;
    drawingLevel_ = endLevel;
    if (!valid_ || !segments || alpha_ == 0 || count < 1) return;
    // Temporaries for the batch; a batch too large for memory draws nothing.
    std::unique_ptr<TBox[]> boxes(new (std::nothrow) TBox[size_t(count)]);
    std::unique_ptr<bool[]> kept(new (std::nothrow) bool[size_t(count)]);
    if (!boxes || !kept) return;
    for (int i = 0; i < count; ++i) {
        boxes[i] = geometry_.SegmentBox(segments[i]);
        kept[i] = geometry_.ClipToSurface(boxes[i]);
    }
    for (int i = 0; i < count; ++i)
        if (kept[i]) ClearMask(boxes[i]);
    // Each segment adds its end disc and hull minus its own start disc; what
    // an earlier segment of the batch took stays taken. (Removing every
    // start disc after drawing all of them would cut a hole at each joint of
    // a chain, where the start disc of one segment is the end disc of the
    // segment before.)
    for (int i = 0; i < count; ++i) {
        if (!kept[i]) continue;
        const PenSegment& s = segments[i];
        MaskDisc(s.x1, s.y1, s.r1, TMaskOp::AddNew);
        MaskTangentQuad(s, TMaskOp::AddNew);
        MaskDisc(s.x0, s.y0, s.r0, TMaskOp::RemoveNew);
        KeepNewSamples(boxes[i]);
    }
    for (int i = 0; i < count; ++i) {
        if (!kept[i]) continue;
        CompositeInkClearing(boxes[i].left, boxes[i].top, boxes[i].right, boxes[i].bottom);
        ResolveSamples(boxes[i]);
    }
}

// Display rows y0..y1 - 1, columns x0..x1 - 1, already clamped and non-empty.
// Each row first sums its F work rows column by column, then sums F
// neighbouring columns of each channel.
template <int F>
void TFuzzyLineGDIImpl<F>::ResolveRows(int x0, int y0, int x1, int y1) {
    const int n = x1 - x0;
    const int first = 3 * F * x0;
    const uint8_t flip = inverted_ ? 0xFF : 0x00;  // 255 - v is v ^ 0xFF for a byte
    uint16_t* sums = columnSums_.get();
    for (int y = y0; y < y1; ++y) {
        uint8_t* out = display_.ScanLine(y) + 3 * x0;
        if constexpr (F == 1) {
            const uint8_t* w = work_.ScanLine(y) + first;
            for (int i = 0; i < 3 * n; ++i)
                out[i] = uint8_t(w[i] ^ flip);
        } else if constexpr (F == 2) {
            ResolveRow2(work_.ScanLine(2 * y) + first, work_.ScanLine(2 * y + 1) + first, out, n,
                        flip, sums);
        } else {
            ResolveRow4(work_.ScanLine(4 * y) + first, work_.ScanLine(4 * y + 1) + first,
                        work_.ScanLine(4 * y + 2) + first, work_.ScanLine(4 * y + 3) + first, out,
                        n, flip, sums);
        }
    }
}

template <int F>
void TFuzzyLineGDIImpl<F>::ResolveRect(int x0, int y0, int x1, int y1) {
    if (!valid_) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width_);
    y0 = std::max(y0, 0);
    y1 = std::min(y1, height_);
    if (x0 < x1 && y0 < y1) ResolveRows(x0, y0, x1, y1);
    AddDirtyRect(x0, y0, x1, y1);
}

template <int F>
void TFuzzyLineGDIImpl<F>::ResolveAll() {
    if (!valid_) return;
    ResolveRows(0, 0, width_, height_);
    AddDirtyRect(0, 0, width_, height_);
}

template <int F>
void TFuzzyLineGDIImpl<F>::ExpandRect(int x0, int y0, int x1, int y1) {
    if (!valid_) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width_);
    y0 = std::max(y0, 0);
    y1 = std::min(y1, height_);
    if (x0 >= x1 || y0 >= y1) return;
    const uint8_t flip = inverted_ ? 0xFF : 0x00;
    const size_t bytes = size_t(3) * F * size_t(x1 - x0);
    for (int y = y0; y < y1; ++y) {
        const uint8_t* in = display_.ScanLine(y) + 3 * x0;
        uint8_t* first = work_.ScanLine(F * y) + 3 * F * x0;
        uint8_t* w = first;
        for (int x = x0; x < x1; ++x, in += 3) {
            const uint8_t b = in[0] ^ flip, g = in[1] ^ flip, r = in[2] ^ flip;
            for (int k = 0; k < F; ++k, w += 3) {
                w[0] = b;
                w[1] = g;
                w[2] = r;
            }
        }
        for (int r = 1; r < F; ++r)
            std::memcpy(work_.ScanLine(F * y + r) + 3 * F * x0, first, bytes);
    }
}

template <int F>
void TFuzzyLineGDIImpl<F>::ExpandAll() {
    ExpandRect(0, 0, width_, height_);
}

template <int F>
void TFuzzyLineGDIImpl<F>::Clear() {
    if (!valid_) return;
    if (!background_.Empty()) {
        workCanvas_.BitBlt(0, 0, geometry_.workWidth, geometry_.workHeight, background_, 0, 0);
        ResolveAll();
        return;
    }
    // The paper is white, so both surfaces fill with one byte value.
    display_.Fill(inverted_ ? uint8_t(~kPaperByte) : kPaperByte);
    work_.Fill(kPaperByte);
    AddDirtyRect(0, 0, width_, height_);
}

template class TFuzzyLineGDIImpl<1>;
template class TFuzzyLineGDIImpl<2>;
template class TFuzzyLineGDIImpl<4>;

}  // namespace quil
