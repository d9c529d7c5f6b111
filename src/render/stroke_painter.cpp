#include "render/stroke_painter.h"

#include <algorithm>
#include <new>

#include "render/composite_spans.h"
#include "render/fuzzy_line_gdi.h"

namespace quil {

namespace {

// Cache lines one Prefetch asks for at most: an eighth of a core's cache.
constexpr size_t kMostPrefetched = 8192;

bool Empty(const TSampleBox& b) { return b.left > b.right || b.top > b.bottom; }

TSampleBox Intersection(const TSampleBox& a, const TSampleBox& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

}  // namespace

TStrokePainter::TStrokePainter(TFuzzyLineGDI& renderer)
    : renderer_(renderer), changed_(renderer.Width(), renderer.Height()) {
    const TSampleGeometry& g = renderer.Geometry();
    limits_ = {0, 0, g.workWidth - 1, g.workHeight - 1};
}

void TStrokePainter::SetBand(int index, int count, int stripeRows) {
    bandIndex_ = index;
    bandCount_ = std::max(count, 1);
    stripeRows_ = std::max(stripeRows, 1);
}

bool TStrokePainter::OwnsAnyRow(int top, int bottom) const {
    bool any = false;
    ForEachOwnRun(std::max(top, limits_.top), std::min(bottom, limits_.bottom),
                  [&](int, int) { any = true; });
    return any;
}

void TStrokePainter::SetColor(COLORREF c) {
    if (c == color_) return;
    color_ = c;
    PrepareInk();
}

void TStrokePainter::SetOpacity(int v) {
    v = ClampedOpacity(v);
    if (v == alpha_) return;
    alpha_ = v;
    PrepareInk();
}

void TStrokePainter::PrepareInk() {
    ink_ = TInk(color_, alpha_);
    paper_ = TInk(kWhite, alpha_);
}

TStrokePainter::TSpan TStrokePainter::TDiscRows::At(int y) const {
    const int i = y - first;
    if (!valid || i < 0 || i >= int(spans.size())) return {1, 0};
    return spans[size_t(i)];
}

// The disc's spans as the shape mask would take them: the ellipse of the
// mapped rectangle, clamped to the surface. A disc of the same rectangle as
// the one held is not worked out again.
void TStrokePainter::FindDisc(float x, float y, float r, TDiscRows& rows) const {
    const TSampleGeometry& g = renderer_.Geometry();
    const int left = g.MapX(x - r), top = g.MapY(y - r), right = g.MapX(x + r),
              bottom = g.MapY(y + r);
    if (rows.valid && rows.left == left && rows.top == top && rows.right == right &&
        rows.bottom == bottom)
        return;
    rows.left = left;
    rows.top = top;
    rows.right = right;
    rows.bottom = bottom;
    rows.valid = true;
    rows.spans.clear();
    const TEllipseSpans e(left, top, right, bottom);
    if (e.Empty()) return;
    const int y0 = std::max(e.FirstRow(), 0), y1 = std::min(e.LastRow(), g.workHeight - 1);
    rows.first = y0;
    for (int row = y0; row <= y1; ++row) {
        int a, b;
        if (!e.Row(row, a, b)) {
            rows.spans.push_back({1, 0});
            continue;
        }
        rows.spans.push_back({std::max(a, 0), std::min(b, g.workWidth - 1)});
    }
}

bool TStrokePainter::Ready() const {
    return renderer_.IsValid() && alpha_ != 0 && renderer_.DrawsAtLevel();
}

// The display pixels the renderer would resolve after drawing the box.
void TStrokePainter::Note(const TSampleBox& box) {
    const TRect r = renderer_.Geometry().DisplayAround(box);
    changed_.Note(r.left, r.top, r.right - 1, r.bottom - 1);
}

void TStrokePainter::Composite(int y, int x0, int x1, bool erase) {
    uint8_t* p = renderer_.WorkRow(y) + size_t(3) * size_t(x0);
    const int n = x1 - x0 + 1;
    if (erase && renderer_.HasBackground()) {
        RestoreSpan(p, renderer_.Background().ScanLine(y) + size_t(3) * size_t(x0), n,
                    unsigned(alpha_));
        return;
    }
    (erase ? paper_ : ink_).Span(p, n);
}

// (adds minus removed) of one row: the adds are merged in order of their
// left ends, the removed span is cut out of each, and what is left within
// [left, right] is composited.
void TStrokePainter::CompositeRow(int y, TSpan* adds, int count, TSpan removed, int left, int right,
                                  bool erase) {
    for (int i = 1; i < count; ++i) {
        const TSpan s = adds[i];
        int j = i;
        for (; j > 0 && adds[j - 1].x0 > s.x0; --j)
            adds[j] = adds[j - 1];
        adds[j] = s;
    }
    auto emit = [&](int a, int b) {
        a = std::max(a, left);
        b = std::min(b, right);
        if (a <= b) Composite(y, a, b, erase);
    };
    auto emitCut = [&](int a, int b) {
        if (removed.x0 > removed.x1 || removed.x1 < a || removed.x0 > b) {
            emit(a, b);
            return;
        }
        if (removed.x0 > a) emit(a, removed.x0 - 1);
        if (removed.x1 < b) emit(removed.x1 + 1, b);
    };
    int i = 0;
    while (i < count) {
        int a = adds[i].x0, b = adds[i].x1;
        for (++i; i < count && adds[i].x0 <= b + 1; ++i)
            b = std::max(b, adds[i].x1);
        emitCut(a, b);
    }
}

bool TStrokePainter::DotRows(const PenPoint& p, bool erase, TSampleBox& box) {
    const TSampleGeometry& g = renderer_.Geometry();
    box = g.DiscBox(p.x, p.y, p.radius);
    if (!g.ClipToSurface(box)) return false;
    const TSampleBox area = Intersection(box, limits_);
    if (Empty(area) || !OwnsAnyRow(area.top, area.bottom)) return true;
    FindDisc(p.x, p.y, p.radius, end_);
    ForEachOwnRun(area.top, area.bottom, [&](int top, int bottom) {
        for (int y = top; y <= bottom; ++y) {
            TSpan disc = end_.At(y);
            if (disc.x0 <= disc.x1) CompositeRow(y, &disc, 1, {1, 0}, area.left, area.right, erase);
        }
    });
    return true;
}

void TStrokePainter::Prefetch(const TSampleBox& box) const {
    const TSampleBox area = Intersection(box, limits_);
    if (Empty(area)) return;
    const size_t bytes = size_t(3) * size_t(area.right - area.left + 1);
    const size_t lines = (bytes / 64 + 2) * size_t(area.bottom - area.top + 1);
    if (lines > kMostPrefetched) return;  // would push out what it asks for
    ForEachOwnRun(area.top, area.bottom, [&](int top, int bottom) {
        for (int y = top; y <= bottom; ++y) {
            const uint8_t* row = renderer_.WorkRow(y) + size_t(3) * size_t(area.left);
            for (size_t i = 0; i < bytes + 63; i += 64)
                __builtin_prefetch(row + std::min(i, bytes - 1), 1);
        }
    });
}

bool TStrokePainter::SegmentRows(const PenSegment& s, bool erase, bool strict, TSampleBox& box) {
    const TSampleGeometry& g = renderer_.Geometry();
    box = g.SegmentBox(s);
    if (!g.ClipToSurface(box)) return false;
    const TSampleBox area = Intersection(box, limits_);
    if (Empty(area) || !OwnsAnyRow(area.top, area.bottom)) return true;
    // Asked for now, the samples arrive while the shapes are worked out.
    Prefetch(area);
    // The start disc is the end disc of the shape drawn before, mostly.
    std::swap(start_, end_);
    FindDisc(s.x0, s.y0, s.r0, start_);
    FindDisc(s.x1, s.y1, s.r1, end_);

    TPoint quad[4];
    const bool hasQuad = g.TangentQuad(s, strict, quad);
    const bool convex = hasQuad && convex_.Set(quad);
    quadSpans_.clear();
    if (hasQuad && !convex) {
        // The rare quadrilateral that is not convex once its corners are
        // whole samples: the general polygon filler, row by row.
        polygon_.Fill(quad, 4, 0, area.top, g.workWidth - 1, area.bottom,
                      [this](int y, int a, int b) {
                          quadSpans_.push_back({y, a, b});
                      });
    }
    size_t next = 0;
    ForEachOwnRun(area.top, area.bottom, [&](int top, int bottom) {
        for (int y = top; y <= bottom; ++y)
            SegmentRow(y, convex, next, area, erase);
    });
    return true;
}

// Row y of a segment: the end disc and the quadrilateral's spans, less the
// start disc. `next` walks the spans of a quadrilateral that is not convex.
void TStrokePainter::SegmentRow(int y, bool convex, size_t& next, const TSampleBox& area,
                                bool erase) {
    const int lastColumn = renderer_.Geometry().workWidth - 1;
    const TSpan disc = end_.At(y);
    if (convex) {
        // The common case: the disc's span and the quadrilateral's.
        TSpan adds[2];
        int count = 0;
        if (disc.x0 <= disc.x1) adds[count++] = disc;
        int a, b;
        if (convex_.Row(y, a, b)) {
            a = std::max(a, 0);
            b = std::min(b, lastColumn);
            if (a <= b) adds[count++] = {a, b};
        }
        if (count > 0) CompositeRow(y, adds, count, start_.At(y), area.left, area.right, erase);
        return;
    }
    rowAdds_.clear();
    if (disc.x0 <= disc.x1) rowAdds_.push_back(disc);
    while (next < quadSpans_.size() && quadSpans_[next].y < y)
        ++next;
    for (; next < quadSpans_.size() && quadSpans_[next].y == y; ++next)
        rowAdds_.push_back({quadSpans_[next].x0, quadSpans_[next].x1});
    if (!rowAdds_.empty())
        CompositeRow(y, rowAdds_.data(), int(rowAdds_.size()), start_.At(y), area.left, area.right,
                     erase);
}

// The scratch grows to the largest shape drawn and stays; should memory for
// it run out, the shape ends where it stands (what it drew is resolved).
bool TStrokePainter::Dot(const PenPoint& p, bool erase, TSampleBox& box) {
    box = {0, 0, -1, -1};
    try {
        return DotRows(p, erase, box);
    } catch (const std::bad_alloc&) {
        return !Empty(box);
    }
}

bool TStrokePainter::Segment(const PenSegment& s, bool erase, bool strict, TSampleBox& box) {
    box = {0, 0, -1, -1};
    try {
        return SegmentRows(s, erase, strict, box);
    } catch (const std::bad_alloc&) {
        return !Empty(box);
    }
}

void TStrokePainter::DrawDot(const PenPoint* p) {
    TSampleBox box;
    if (p && Ready() && Dot(*p, false, box)) Note(box);
}

void TStrokePainter::DrawSegment(const PenSegment* s) {
    TSampleBox box;
    if (s && Ready() && Segment(*s, false, false, box)) Note(box);
}

void TStrokePainter::EraseDot(const PenPoint* p) {
    TSampleBox box;
    if (p && Ready() && Dot(*p, true, box)) Note(box);
}

void TStrokePainter::EraseSegment(const PenSegment* s) {
    TSampleBox box;
    if (s && Ready() && Segment(*s, true, false, box)) Note(box);
}

}  // namespace quil
