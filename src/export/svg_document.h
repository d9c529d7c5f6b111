#pragma once

#include <cstdint>

#include "export/svg_stream.h"
#include "platform/bitmap.h"

namespace quil {

class TPenReplayWT;

// The SVG 1.1 text of a whole recording: page, background picture, grid,
// then every stroke as discs joined by tangent hulls and every stamp as an
// embedded PNG, in list order. Lengths are tenths of a page unit, so the
// view box is ten times the page size. The document's cursors are not
// moved. Fails (marks the stream) only when a picture cannot be encoded or
// the grid words ask for more lines than any page can use.
void WriteSvgDocument(const TPenReplayWT& document, TSvgStream& out);

// A disc of radius r at (x, y), page units.
void WriteDisc(TSvgStream& out, float x, float y, float r);

// The outline joining the disc (x0, y0, r0) to the disc (x1, y1, r1): the
// quadrilateral between the touching points of their two outer tangents,
// then the new disc. No quadrilateral when one disc lies inside the other.
void WriteHull(TSvgStream& out, float x0, float y0, float r0, float x1, float y1, float r1);

// The parts of the document below the header, for callers that hold the
// values without a document.
void WriteSvgBackground(TSvgStream& out, int pageWidth, int pageHeight, int mode, int placement,
                        const TBitmap& picture);
void WriteSvgGrid(TSvgStream& out, uint32_t cellSize, uint32_t origin, uint32_t cells,
                  uint32_t subdivisions);

// A grid whose words would produce more lines than this is refused.
constexpr int64_t kMaxSvgGridLines = 1000000;

}  // namespace quil
