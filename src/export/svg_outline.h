#pragma once

#include "export/svg_stream.h"

namespace quil {

// A disc of radius r at (x, y), page units.
void WriteDisc(TSvgStream& out, float x, float y, float r);

// The outline joining the disc (x0, y0, r0) to the disc (x1, y1, r1): the
// quadrilateral between the touching points of their two outer tangents,
// then the new disc. No quadrilateral when one disc lies inside the other.
void WriteHull(TSvgStream& out, float x0, float y0, float r0, float x1, float y1, float r1);

}  // namespace quil
