#pragma once

#include <cstdint>

#include "platform/bitmap.h"
#include "platform/color.h"
#include "render/fuzzy_line_gdi.h"
#include "render/sample_geometry.h"

namespace quil::testing {

// The stroke rasteriser as the renderers first had it, kept as the slow
// reference for their stroke painters: every shape is drawn into an 8-bit
// shape mask over its box (discs by TEllipseSpans, the tangent
// quadrilateral by the general polygon filler TPolygonSpans, the start disc
// removed), then each masked sample of the box is composited one by one.
// The geometry (boxes, disc rectangles, the quadrilateral's corners) is the
// renderer's own; what is checked is which samples the shapes cover and
// what ink they take.
class TReferenceRasteriser {
public:
    // Draws on `work` (the layout of the renderer's work surface); `layer`
    // is what erasing restores (none: paper).
    TReferenceRasteriser(const TSampleGeometry& geometry, TBitmap& work, const TBitmap* layer);

    void SetInk(COLORREF color, int opacity);
    // Work samples, all bounds inclusive: the compositing limits.
    void SetClip(const TSampleBox& clip) { clip_ = clip; }

    // As the renderer's DrawDot / EraseDot and DrawSegment / EraseSegment
    // without marker or resolve; false when the box lies outside the
    // surface. `box` receives the box clipped to the surface.
    bool Dot(const PenPoint& p, bool erase, TSampleBox& box);
    bool Segment(const PenSegment& s, bool erase, TSampleBox& box);

private:
    void MaskDisc(float x, float y, float r, uint8_t value);
    void Composite(const TSampleBox& box, bool erase);

    TSampleGeometry g_;
    TBitmap& work_;
    const TBitmap* layer_;
    TBitmap mask_;
    TSampleBox clip_;
    uint8_t ink_[3] = {0, 0, 0};  // blue, green, red
    int alpha_ = 256;
};

}  // namespace quil::testing
