#include <algorithm>
#include <cstdlib>

#include "platform/canvas.h"
#include "platform/canvas_pixels.h"
#include "platform/raster_spans.h"

namespace quil {

namespace {

// A one-pixel line from (x0, y0) towards (x1, y1), the end point excluded.
void ThinLine(TBitmap& target, int x0, int y0, int x1, int y1, COLORREF c, TPenMode mode) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0, y = y0;
    while (x != x1 || y != y1) {
        WriteSpan(target, y, x, x, c, mode);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

}  // namespace

// Lines wider than one pixel are drawn as the pixels within half the pen
// width of the segment: round ends, each pixel once.
void TCanvas::LineTo(int x, int y) {
    const int fromX = penX_, fromY = penY_;
    penX_ = x;
    penY_ = y;
    if (!target_ || target_->Empty()) return;
    if (penWidth_ <= 1) {
        ThinLine(*target_, fromX, fromY, x, y, penColor_, penMode_);
        return;
    }
    if (fromX == x && fromY == y) return;
    const double radius = 0.5 * penWidth_;
    // An even width has no centre pixel: centre the pen between pixels.
    const double shift = (penWidth_ % 2 == 0) ? 0.0 : 0.5;
    const double ax = fromX + shift, ay = fromY + shift, bx = x + shift, by = y + shift;
    int top = int(std::min(ay, by) - radius) - 1, bottom = int(std::max(ay, by) + radius) + 1;
    if (top < 0) top = 0;
    if (bottom > target_->Height() - 1) bottom = target_->Height() - 1;
    for (int row = top; row <= bottom; ++row) {
        int a, b;
        if (CapsuleRow(ax, ay, bx, by, radius, row, a, b)) WriteSpan(*target_, row, a, b, penColor_, penMode_);
    }
}

}  // namespace quil
