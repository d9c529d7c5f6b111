#pragma once

#include "export/svg_outline.h"
#include "export/svg_page.h"
#include "export/svg_stream.h"

namespace quil {

class TPenReplayWT;

// The SVG 1.1 text of a whole recording: page, background picture, grid,
// then every stroke as discs joined by tangent hulls and every stamp as an
// embedded PNG, in list order. Lengths are tenths of a page unit, so the
// view box is ten times the page size. The document's cursors are not
// moved. Fails (marks the stream) only when a picture cannot be encoded or
// the grid words ask for more lines than any page can use.
void WriteSvgDocument(const TPenReplayWT& document, TSvgStream& out);

}  // namespace quil
