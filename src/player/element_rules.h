#pragma once

#include "model/stamp_data.h"
#include "model/stroke_data.h"
#include "platform/geometry.h"
#include "player/page_geometry.h"
#include "render/fuzzy_line_gdi.h"

namespace quil {

// Stroke rule: the stroke's colour and opacity, its first point as a dot and
// every further point as a segment from the one before (erased instead of
// inked for an eraser stroke). Walks the point chain by its links, so the
// stroke's replay cursor is left where it is. The target is a renderer, or
// a stroke painter of a drawing of many elements at once (TBulkDrawing).
template <class TPenTarget>
void DrawStrokeRule(TPenTarget& target, const TStrokeDataWT& stroke, const TPageMapping& mapping) {
    const TPenReplayPointWT* p = stroke.firstPoint;
    if (!p) return;
    target.SetColor(stroke.color);
    target.SetOpacity(int(stroke.opacity));
    const bool eraser = stroke.eraser != 0;
    const PenPoint first = mapping.Map(*p);
    if (eraser)
        target.EraseDot(&first);
    else
        target.DrawDot(&first);
    PenSegment s{0, 0, 0, first.x, first.y, first.radius};
    for (p = p->next; p; p = p->next) {
        const PenPoint q = mapping.Map(*p);
        s = {s.x1, s.y1, s.r1, q.x, q.y, q.radius};
        if (eraser)
            target.EraseSegment(&s);
        else
            target.DrawSegment(&s);
    }
}

// How a stamp picture that is not reduced in height is stretched onto its
// scaled size.
enum class TStampStretch {
    // From (0, 0, w - 1, h - 1) onto (0, 0, W - 1, H - 1): the picture's
    // last column and row are not used and the scaled picture's last column
    // and row stay white (the screen and the off-screen rendering).
    InnerEdges,
    // The whole picture onto the whole scaled size (printing).
    Whole,
};

// Stamp rule: the stamp picture scaled to trunc(w * fx) x trunc(h * fy) work
// samples (reduced in height by nearest sampling, otherwise stretched as
// `stretch` says) and written straight into the work surface at
// (trunc(x * fx), trunc(y * fy)); pure white is transparent and nothing is
// blended. Only the part inside `clip` (work samples, all edges inclusive)
// is written; without a clip, the whole work surface. The display surface
// is not updated here.
void DrawStampRule(TFuzzyLineGDI& renderer, const TStampDataWT& stamp, const TStampRect& rect,
                   float fx, float fy, const TRect* clip = nullptr,
                   TStampStretch stretch = TStampStretch::InnerEdges);

}  // namespace quil
