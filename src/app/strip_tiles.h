#pragma once

#include "platform/bitmap.h"

namespace quil {

// The three 9 x 9 tiles the replay strip is painted from: grey (not yet
// replayed), blue (replayed) and green (replay complete). Columns 0-1 are
// the left cap, 3-5 the stretchable middle, 7-8 the right cap; each tile
// has a one-pixel border with lighter corners and an interior shaded from
// top to bottom.
enum class TStripTile { Grey, Blue, Green };

constexpr int kStripTileSize = 9;

TBitmap MakeStripTile(TStripTile tile);

}  // namespace quil
