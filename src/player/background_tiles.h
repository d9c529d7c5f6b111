#pragma once

#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "player/page_geometry.h"
#include "render/fuzzy_line_gdi.h"

namespace quil {

// Lays a tiled background into the renderer's work surface: the first tile
// is stretched from the picture's `source` rectangle onto the tiling's
// origin, and every other tile that shows is a copy of it. The origin must
// not lie left of or above the work surface, so that the part of the first
// tile a copy needs is on the surface.
void LayTiles(TFuzzyLineGDI& renderer, const TBitmap& picture, const TRect& source,
              const TTiling& tiling);

}  // namespace quil
