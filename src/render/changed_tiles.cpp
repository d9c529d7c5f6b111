#include "render/changed_tiles.h"

#include <algorithm>
#include <cstdint>

namespace quil {

TChangedTiles::TChangedTiles(int displayWidth, int displayHeight)
    : width_(std::max(displayWidth, 0)),
      height_(std::max(displayHeight, 0)),
      columns_(int((int64_t(width_) + kTile - 1) / kTile)),
      rows_(int((int64_t(height_) + kTile - 1) / kTile)) {}

void TChangedTiles::Note(int x0, int y0, int x1, int y1) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, width_ - 1);
    y1 = std::min(y1, height_ - 1);
    if (x0 > x1 || y0 > y1) return;
    // Made on first use: most painters of a renderer never note anything.
    if (tiles_.empty()) tiles_.assign(size_t(columns_) * size_t(rows_), 0);
    for (int row = y0 / kTile; row <= y1 / kTile; ++row)
        std::fill_n(tiles_.begin() + (size_t(row) * size_t(columns_) + size_t(x0 / kTile)),
                    x1 / kTile - x0 / kTile + 1, uint8_t(1));
    any_ = true;
}

void TChangedTiles::TakeFrom(TChangedTiles& other) {
    if (!other.any_ || columns_ != other.columns_ || rows_ != other.rows_) return;
    if (tiles_.empty()) tiles_.assign(other.tiles_.size(), 0);
    for (size_t i = 0; i < tiles_.size(); ++i) {
        tiles_[i] |= other.tiles_[i];
        other.tiles_[i] = 0;
    }
    other.any_ = false;
    any_ = true;
}

}  // namespace quil
