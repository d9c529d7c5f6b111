#include "player/background_tiles.h"

#include <cstdint>

#include "platform/canvas.h"
#include "platform/truncate.h"

namespace quil {

void LayTiles(TFuzzyLineGDI& renderer, const TBitmap& picture, const TRect& source,
              const TTiling& tiling) {
    const int tileWidth = tiling.tileWidth, tileHeight = tiling.tileHeight;
    if (tileWidth <= 0 || tileHeight <= 0) return;
    const int64_t x0 = tiling.originX, y0 = tiling.originY;
    TCanvas& canvas = renderer.WorkCanvas();
    canvas.CopyRect({int(x0), int(y0), ClampCoordinate(x0 + tileWidth, INT32_MIN, INT32_MAX),
                     ClampCoordinate(y0 + tileHeight, INT32_MIN, INT32_MAX)},
                    picture, source);
    const TBitmap& work = renderer.WorkDC();
    ForEachVisibleTile(tiling, work.Width(), work.Height(), [&](int64_t x, int64_t y) {
        if (x == x0 && y == y0) return;
        canvas.BitBlt(int(x), int(y), tileWidth, tileHeight, work, int(x0), int(y0));
    });
}

}  // namespace quil
