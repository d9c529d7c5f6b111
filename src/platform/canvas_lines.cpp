#include <algorithm>
#include <cmath>
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

// Cuts the line (x0, y0) - (x1, y1) to the rectangle [lo, hi] in both axes
// (Liang-Barsky); false when it misses. The ends are rounded to pixels.
bool ClipLine(int& x0, int& y0, int& x1, int& y1, double loX, double loY, double hiX, double hiY) {
    const double dx = double(x1) - x0, dy = double(y1) - y0;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - loX, hiX - x0, y0 - loY, hiY - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const double ax = x0 + t0 * dx, ay = y0 + t0 * dy, bx = x0 + t1 * dx, by = y0 + t1 * dy;
    x0 = int(std::lround(ax));
    y0 = int(std::lround(ay));
    x1 = int(std::lround(bx));
    y1 = int(std::lround(by));
    return true;
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
        int ax = fromX, ay = fromY, bx = x, by = y;
        // A line reaching far outside is cut first, so its length cannot
        // make the walk long. Its end is kept excluded only when it stays.
        const int w = target_->Width(), h = target_->Height();
        const bool far =
            std::abs(double(bx) - ax) > 4.0 * (w + h) || std::abs(double(by) - ay) > 4.0 * (w + h);
        if (far) {
            if (!ClipLine(ax, ay, bx, by, -2.0, -2.0, w + 1.0, h + 1.0)) return;
            if (bx != x || by != y) WriteSpan(*target_, by, bx, bx, penColor_, penMode_);
        }
        ThinLine(*target_, ax, ay, bx, by, penColor_, penMode_);
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
        if (CapsuleRow(ax, ay, bx, by, radius, row, a, b))
            WriteSpan(*target_, row, a, b, penColor_, penMode_);
    }
}

}  // namespace quil
