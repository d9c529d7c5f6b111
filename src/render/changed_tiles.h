#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quil {

// What drawings have changed on the display and not yet resolved, kept as
// tiles of 16 x 16 display pixels: resolving the tiles costs what was drawn
// however the drawing is spread, where one box round everything would take
// the whole page for strokes scattered over it.
class TChangedTiles {
public:
    TChangedTiles(int displayWidth, int displayHeight);

    // Display pixels x0..x1, y0..y1 (inclusive, clamped to the display).
    void Note(int x0, int y0, int x1, int y1);
    // Takes over the other's tiles, leaving it with none.
    void TakeFrom(TChangedTiles& other);
    // Calls resolve(x0, y0, x1, y1) for each run of changed tiles in a row
    // of tiles (display pixels, x1 and y1 exclusive, clamped to the display)
    // and forgets them.
    template <class Fn>
    void Resolve(Fn resolve);

    static constexpr int kTile = 16;

private:
    int width_, height_, columns_, rows_;
    std::vector<uint8_t> tiles_;  // rows_ x columns_, 1: changed
    bool any_ = false;
};

template <class Fn>
void TChangedTiles::Resolve(Fn resolve) {
    if (!any_) return;
    for (int row = 0; row < rows_; ++row) {
        uint8_t* t = tiles_.data() + size_t(row) * size_t(columns_);
        for (int column = 0; column < columns_;) {
            if (!t[column]) {
                ++column;
                continue;
            }
            int end = column;
            while (end < columns_ && t[end])
                t[end++] = 0;
            const int y1 = (row + 1) * kTile < height_ ? (row + 1) * kTile : height_;
            const int x1 = end * kTile < width_ ? end * kTile : width_;
            resolve(column * kTile, row * kTile, x1, y1);
            column = end;
        }
    }
    any_ = false;
}

}  // namespace quil
