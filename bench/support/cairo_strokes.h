#pragma once

#include <cairo.h>

#include "model/document.h"
#include "render/fuzzy_line_gdi.h"

namespace quil::bench {

// The peers our stroke drawing is measured against: cairo's anti-aliased
// drawing of the same strokes, one page unit to one pixel.

// A sub-path of the disc (x, y, r).
void AddDisc(cairo_t* cr, float x, float y, float r);
// A sub-path of the quadrilateral between the outer common tangents of the
// segment's two discs, in our renderer's geometry; nothing where one disc
// lies inside the other or the points nearly coincide.
void AddTangentQuad(cairo_t* cr, const PenSegment& s);

// One round-capped, round-joined outline per stroke, its width twice the
// mean radius of the stroke's points: the least a vector drawing does.
void DrawOutlines(cairo_t* cr, const TPenReplayWT& document);
// One fill for every disc and every tangent quadrilateral: the shapes our
// renderer draws, drawn the way a vector library fills them.
void DrawDiscsAndQuads(cairo_t* cr, const TPenReplayWT& document);

}  // namespace quil::bench
