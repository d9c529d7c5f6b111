#pragma once

#include <cstdint>

#include "platform/geometry.h"
#include "platform/raster_spans.h"
#include "platform/truncate.h"

namespace quil {

struct PenSegment;

// A box of work samples, all four bounds inclusive.
struct TSampleBox {
    int left, top, right, bottom;
};

// Where a renderer's shapes fall on its work surface: the input transform
// (origin and scale, from SetViewport), the work factor and the surface
// size. Every rule that turns pen points into work samples lives here, so
// that the renderer, its stroke painters and its batches share them.
struct TSampleGeometry {
    int factor = 1;                        // work samples per display pixel along each axis
    float originX = 0.0f, originY = 0.0f;  // input origin, display pixels
    float scaleX = 1.0f, scaleY = 1.0f;    // input scale
    int originWorkX = 0, originWorkY = 0;  // the origin in work samples
    int workWidth = 0, workHeight = 0;

    // A display coordinate in work samples.
    int MapX(float x) const { return TruncSample((x - originX) * scaleX * float(factor)); }
    int MapY(float y) const { return TruncSample((y - originY) * scaleY * float(factor)); }

    // The boxes a disc and a segment may touch, one sample of margin around.
    TSampleBox DiscBox(float x, float y, float r) const;
    TSampleBox SegmentBox(const PenSegment& s) const;
    // Clips a box to the surface; false when the drawing must end (the box
    // lies wholly outside).
    bool ClipToSurface(TSampleBox& box) const;
    // The display pixels a box of work samples touches and one more on each
    // side (right and bottom exclusive): what a drawing resolves after it
    // has drawn the box.
    TRect DisplayAround(const TSampleBox& box) const {
        const int s = factor == 4 ? 2 : (factor == 2 ? 1 : 0);
        return {(box.left >> s) - 1, (box.top >> s) - 1, (box.right >> s) + 1,
                (box.bottom >> s) + 1};
    }
    // The disc as an ellipse inscribed in its mapped bounding rectangle.
    TEllipseSpans Disc(float x, float y, float r) const {
        return TEllipseSpans(MapX(x - r), MapY(y - r), MapX(x + r), MapY(y + r));
    }
    // The quadrilateral between the outer common tangents of the segment's
    // two discs, its corners mapped to work samples in the order P0+, P1+,
    // P1-, P0-. False when there is none: one disc lies inside the other
    // (|dr| > d; with `strict` also |dr| = d, as the batches have it).
    bool TangentQuad(const PenSegment& s, bool strict, TPoint quad[4]) const;
};

}  // namespace quil
