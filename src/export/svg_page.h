#pragma once

#include <cstdint>
#include <vector>

#include "export/svg_stream.h"
#include "platform/bitmap.h"

namespace quil {

// The background picture of a page of pageWidth x pageHeight units: mode 0
// writes nothing, mode 1 a tile pattern from the top-left corner filling
// the page, any other mode one picture placed by `placement` (0 fit,
// 1 stretch, 2 centre, anything else top-left). An empty picture writes
// nothing.
void WriteSvgBackground(TSvgStream& out, int pageWidth, int pageHeight, int mode, int placement,
                        const TBitmap& picture);

// The grid of the four grid words (low halves unsigned, high halves
// signed); nothing when cellSize is 0.
void WriteSvgGrid(TSvgStream& out, uint32_t cellSize, uint32_t origin, uint32_t cells,
                  uint32_t subdivisions);

// A grid whose words would produce more lines than this is refused.
constexpr int64_t kMaxSvgGridLines = 1000000;

// The base64 text of an encoded picture; an empty encoding (the picture did
// not encode) marks the stream failed instead.
void PutPngData(TSvgStream& out, const std::vector<uint8_t>& png);

}  // namespace quil
