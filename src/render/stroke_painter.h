#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/color.h"
#include "platform/raster_spans.h"
#include "render/changed_tiles.h"
#include "render/composite_spans.h"
#include "render/sample_geometry.h"

namespace quil {

class TFuzzyLineGDI;
struct PenPoint;
struct PenSegment;

// Draws pen dots and segments straight into a renderer's work surface, row
// span by row span: the samples a segment newly covers are (end disc and
// tangent quadrilateral) minus the start disc, which the step before has
// inked; they are found per row as spans and composited at once, with no
// shape mask. The samples are those the renderer's shape mask would hold.
//
// A painter writes only inside its limits (work samples), which stand for
// the renderer's clip rectangle and, when several painters share a surface
// on several threads, for a band of rows of its own: painters of disjoint
// bands may draw at the same time. Each keeps its own scratch, reused from
// call to call, and the end disc of its last shape, which is the start
// disc of the segment that follows.
class TStrokePainter {
public:
    explicit TStrokePainter(TFuzzyLineGDI& renderer);

    // Work samples, all bounds inclusive; nothing outside is written.
    void SetLimits(const TSampleBox& limits) { limits_ = limits; }
    const TSampleBox& Limits() const { return limits_; }
    // Shares the rows with other painters: the surface is cut into stripes
    // of `stripeRows` rows, dealt out in turn to `count` painters, of which
    // this one is number `index` (0 .. count - 1). Stripes keep the share
    // of each painter even where the writing sits in one part of the page.
    void SetBand(int index, int count, int stripeRows);
    // Whether any of the rows top..bottom is this painter's.
    bool OwnsAnyRow(int top, int bottom) const;
    // Calls rows(first, last) for each run of this painter's rows within
    // top..bottom, in order.
    template <class Rows>
    void ForEachOwnRun(int top, int bottom, Rows rows) const;
    // Asks for the samples of this painter's rows within the box (up to a
    // bound), to have them in the caches by the time a shape is drawn
    // there: a page-sized work surface is in no cache, and a stroke that
    // starts elsewhere on it waits for memory at every row it reaches.
    void Prefetch(const TSampleBox& box) const;
    // Notes as changed what a caller wrote itself (a stamp), a box of work
    // samples.
    void NoteChanged(const TSampleBox& box) { Note(box); }
    // Ink colour and opacity, taken as the renderer takes them.
    void SetColor(COLORREF c);
    void SetOpacity(int v);

    // Draws a disc or a segment, inking it, or restoring the renderer's
    // background layer (paper without one) with `erase`. `box` receives the
    // shape's box clipped to the surface, the area to resolve; false when
    // the box lies outside the surface and nothing was drawn. `strict`
    // leaves out the quadrilateral when |dr| = d, as the batches do.
    bool Dot(const PenPoint& p, bool erase, TSampleBox& box);
    bool Segment(const PenSegment& s, bool erase, bool strict, TSampleBox& box);

    // The stroke rule's operations for drawing many strokes at once: no pen
    // marker and no resolve; what they draw is noted as changed instead.
    void DrawDot(const PenPoint* p);
    void DrawSegment(const PenSegment* s);
    void EraseDot(const PenPoint* p);
    void EraseSegment(const PenSegment* s);
    // The display pixels changed since they were last taken: those a
    // resolve after each shape would have resolved.
    TChangedTiles& Changed() { return changed_; }

private:
    struct TSpan {
        int x0, x1;  // x0 > x1: none
    };
    // The rows of one disc, clamped to the surface, keyed by its mapped
    // bounding rectangle (which alone decides them).
    struct TDiscRows {
        int left = 0, top = 0, right = 0, bottom = 0;
        bool valid = false;
        int first = 0;  // surface row of spans[0]
        std::vector<TSpan> spans;
        TSpan At(int y) const;
    };

    bool Ready() const;
    void Note(const TSampleBox& box);
    bool DotRows(const PenPoint& p, bool erase, TSampleBox& box);
    bool SegmentRows(const PenSegment& s, bool erase, bool strict, TSampleBox& box);
    void FindDisc(float x, float y, float r, TDiscRows& rows) const;
    void SegmentRow(int y, bool convex, size_t& next, const TSampleBox& area, bool erase);
    // Composites row y's samples x0..x1 (inside the limits and the box).
    void Composite(int y, int x0, int x1, bool erase);
    // Composites (adds minus `removed`) in row y within [left, right].
    void CompositeRow(int y, TSpan* adds, int count, TSpan removed, int left, int right,
                      bool erase);

    void PrepareInk();

    TFuzzyLineGDI& renderer_;
    TSampleBox limits_{0, 0, -1, -1};
    int bandIndex_ = 0, bandCount_ = 1, stripeRows_ = 1;
    COLORREF color_ = 0;
    int alpha_ = 256;
    // The ink and the paper at alpha_.
    TInk ink_{kBlack, 256}, paper_{kWhite, 256};
    TChangedTiles changed_;
    // The start disc and the end disc of the segment being drawn; the end
    // disc's rows are kept for the start of the next.
    TDiscRows start_, end_;
    TConvexQuadSpans convex_;
    TPolygonSpans polygon_;
    struct TRowSpan {
        int y, x0, x1;
    };
    std::vector<TRowSpan> quadSpans_;  // a quadrilateral that is not convex
    std::vector<TSpan> rowAdds_;       // the spans one row adds
};

template <class Rows>
void TStrokePainter::ForEachOwnRun(int top, int bottom, Rows rows) const {
    if (bandCount_ == 1) {
        if (top <= bottom) rows(top, bottom);
        return;
    }
    // Stripe k holds rows k s .. k s + s - 1 and belongs to painter k % count.
    for (int y = top; y <= bottom;) {
        const int stripe = y / stripeRows_;
        const int stripeEnd = std::min(bottom, (stripe + 1) * stripeRows_ - 1);
        if (stripe % bandCount_ == bandIndex_) rows(y, stripeEnd);
        y = stripeEnd + 1;
    }
}

}  // namespace quil
