#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/geometry.h"

namespace quil {

// Scanline geometry shared by the canvas and the stroke renderers. Rows and
// columns are pixel indices; every span is inclusive at both ends. A pixel
// belongs to a shape when its centre lies inside or on the shape.

// The ellipse inscribed in the rectangle [left, right) x [top, bottom).
class TEllipseSpans {
public:
    TEllipseSpans(int left, int top, int right, int bottom);
    bool Empty() const { return right_ <= left_ || bottom_ <= top_; }
    int FirstRow() const { return top_; }
    int LastRow() const { return bottom_ - 1; }
    // The span of row y; false when the row holds none of the ellipse.
    bool Row(int y, int& x0, int& x1) const;

private:
    int left_, top_, right_, bottom_;
    double cx_, cy_, a_, b_;
};

// Up to two spans of one row (an ellipse ring has two, a filled shape one).
struct TRowSpans {
    int count = 0;
    int x0[2] = {0, 0};
    int x1[2] = {0, 0};
};

// The ring of width `width` along the inside of the ellipse: the ellipse
// minus the ellipse inset by `width` on every side. Each pixel of the ring
// appears once, so an inverting pen drawn twice restores the picture.
// The interior (the inset ellipse) is given by Inner().
class TEllipseRingSpans {
public:
    TEllipseRingSpans(int left, int top, int right, int bottom, int width);
    const TEllipseSpans& Outer() const { return outer_; }
    const TEllipseSpans& Inner() const { return inner_; }
    TRowSpans Row(int y) const;

private:
    TEllipseSpans outer_;
    TEllipseSpans inner_;
};

// A quadrilateral through integer vertices, filled exactly as TPolygonSpans
// fills it (interior from the edge crossings, outline from the parts of the
// edges within half a row), when it is convex: every row then holds one
// span, found edge by edge without lists or sorting. Set tells whether the
// quadrilateral is convex; TPolygonSpans takes this road itself for every
// convex quadrilateral it fills.
class TConvexQuadSpans {
public:
    // False (and no rows) unless the vertices, with repeated neighbours
    // taken once, turn one way round without doubling back.
    bool Set(const TPoint quad[4]);
    int FirstRow() const { return top_; }
    int LastRow() const { return bottom_; }
    // The span of row y; false when the row holds none of the shape.
    bool Row(int y, int& x0, int& x1) const;

private:
    struct TEdge {
        double x, y;   // the edge's first vertex
        double slope;  // dx / dy; unused when flat
        int lowY, highY, minX, maxX;
        bool flat;  // horizontal, or a repeated vertex
    };
    TEdge edges_[4];
    int top_ = 0, bottom_ = -1;
};

// A polygon through integer vertices filled with the alternate (even-odd)
// rule, its one-pixel outline included. The spans of each row are merged, so
// every pixel is emitted once; a convex quadrilateral (the usual shape of a
// pen step) goes through TConvexQuadSpans, which gives the same spans. The scratch buffers grow as
// needed and are kept, so a reused rasteriser allocates nothing per call.
class TPolygonSpans {
public:
    // Emits emit(y, x0, x1) for the union of interior and outline, over rows
    // clipTop..clipBottom and columns clipLeft..clipRight (inclusive).
    template <class Emit>
    void Fill(const TPoint* points, int count, int clipLeft, int clipTop, int clipRight,
              int clipBottom, Emit&& emit);
    // As Fill, but the outline spans go to outline(y, x0, x1) and the rest
    // of the interior to interior(y, x0, x1); no pixel is emitted twice.
    template <class Interior, class Outline>
    void FillSeparate(const TPoint* points, int count, int clipLeft, int clipTop, int clipRight,
                      int clipBottom, Interior&& interior, Outline&& outline);

private:
    struct TSpan {
        int x0, x1;
    };
    bool RowRange(const TPoint* points, int count, int clipTop, int clipBottom, int& y0,
                  int& y1) const;
    // Interior spans into fill_, outline spans into outline_, each sorted
    // and merged; the union into union_.
    void BuildRow(const TPoint* points, int count, int y);
    static void Merge(std::vector<TSpan>& spans);

    TConvexQuadSpans convex_;
    std::vector<double> crossings_;
    std::vector<TSpan> fill_;
    std::vector<TSpan> outline_;
    std::vector<TSpan> union_;
};

// The set of pixels within `radius` of the segment from (x0, y0) to
// (x1, y1) (pixel-centre coordinates): a wide line with round ends. Convex,
// so each row holds at most one span.
bool CapsuleRow(double x0, double y0, double x1, double y1, double radius, int y, int& left,
                int& right);

template <class Emit>
void TPolygonSpans::Fill(const TPoint* points, int count, int clipLeft, int clipTop, int clipRight,
                         int clipBottom, Emit&& emit) {
    if (clipRight < clipLeft) return;
    if (count == 4 && convex_.Set(points)) {
        const int top = std::max(convex_.FirstRow(), clipTop);
        const int bottom = std::min(convex_.LastRow(), clipBottom);
        for (int y = top; y <= bottom; ++y) {
            int a, b;
            if (!convex_.Row(y, a, b)) continue;
            a = a < clipLeft ? clipLeft : a;
            b = b > clipRight ? clipRight : b;
            if (a <= b) emit(y, a, b);
        }
        return;
    }
    int y0, y1;
    if (!RowRange(points, count, clipTop, clipBottom, y0, y1)) return;
    for (int y = y0; y <= y1; ++y) {
        BuildRow(points, count, y);
        for (const TSpan& s : union_) {
            const int a = s.x0 < clipLeft ? clipLeft : s.x0;
            const int b = s.x1 > clipRight ? clipRight : s.x1;
            if (a <= b) emit(y, a, b);
        }
    }
}

template <class Interior, class Outline>
void TPolygonSpans::FillSeparate(const TPoint* points, int count, int clipLeft, int clipTop,
                                 int clipRight, int clipBottom, Interior&& interior,
                                 Outline&& outline) {
    int y0, y1;
    if (clipRight < clipLeft || !RowRange(points, count, clipTop, clipBottom, y0, y1)) return;
    auto clipped = [&](int y, int a, int b, auto& emit) {
        if (a < clipLeft) a = clipLeft;
        if (b > clipRight) b = clipRight;
        if (a <= b) emit(y, a, b);
    };
    for (int y = y0; y <= y1; ++y) {
        BuildRow(points, count, y);
        for (const TSpan& s : outline_)
            clipped(y, s.x0, s.x1, outline);
        // Interior minus outline: both lists are sorted and disjoint within.
        std::size_t k = 0;
        for (const TSpan& f : fill_) {
            int a = f.x0;
            while (k < outline_.size() && outline_[k].x1 < a)
                ++k;
            std::size_t j = k;
            while (a <= f.x1) {
                if (j < outline_.size() && outline_[j].x0 <= f.x1) {
                    if (outline_[j].x0 > a) clipped(y, a, outline_[j].x0 - 1, interior);
                    a = outline_[j].x1 + 1 > a ? outline_[j].x1 + 1 : a;
                    ++j;
                } else {
                    clipped(y, a, f.x1, interior);
                    break;
                }
            }
        }
    }
}

}  // namespace quil
