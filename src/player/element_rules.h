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
// stroke's replay cursor is left where it is.
void DrawStrokeRule(TFuzzyLineGDI& renderer, const TStrokeDataWT& stroke,
                    const TPageMapping& mapping);

// Stamp rule: the stamp picture scaled to trunc(w * fx) x trunc(h * fy) work
// samples (reduced in height by nearest sampling, otherwise stretched with
// its last row and column unused) and written straight into the work
// surface at (trunc(x * fx), trunc(y * fy)); pure white is transparent and
// nothing is blended. Only the part inside `clip` (work samples, all edges
// inclusive) is written; without a clip, the whole work surface. The
// display surface is not updated here.
void DrawStampRule(TFuzzyLineGDI& renderer, const TStampDataWT& stamp, const TStampRect& rect,
                   float fx, float fy, const TRect* clip = nullptr);

}  // namespace quil
