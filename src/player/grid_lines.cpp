#include "player/grid_lines.h"

#include <cmath>
#include <utility>

#include "platform/truncate.h"

namespace quil {

void TGridLines::Draw() {
    if (!canvas.Target() || canvas.Target()->Empty()) return;
    canvas.SetPenColor(color);
    canvas.SetPenMode(TPenMode::Copy);
    int vTop = top, vBottom = bottom, hLeft = left, hRight = right;
    if (swapRanges) {
        if (vTop > vBottom) std::swap(vTop, vBottom);
        if (hLeft > hRight) std::swap(hLeft, hRight);
    }
    VerticalLines(vTop, vBottom);
    if (subdivisionsX > 1) MinorLines(true, vTop, vBottom);
    HorizontalLines(hLeft, hRight);
    if (subdivisionsY > 1) MinorLines(false, hLeft, hRight);
}

void TGridLines::Line(bool vertical, int at, int from, int to, int width) {
    const int extent = vertical ? canvas.Target()->Width() : canvas.Target()->Height();
    const int length = vertical ? canvas.Target()->Height() : canvas.Target()->Width();
    const int margin = width + 2;
    if (at < -margin || at > extent + margin) return;
    from = ClampCoordinate(from, -margin, length + margin);
    to = ClampCoordinate(to, -margin, length + margin);
    canvas.SetPenWidth(width);
    if (vertical) {
        canvas.MoveTo(at, from);
        canvas.LineTo(at, to);
    } else {
        canvas.MoveTo(from, at);
        canvas.LineTo(to, at);
    }
}

void TGridLines::VerticalLines(int from, int to) {
    for (int i = 0; i <= columns; ++i) {
        const int x = columnAt(i);
        if (i > 0 && x == columnAt(i - 1)) continue;  // the same line again
        Line(true, x, from, to, majorWidth);
    }
}

void TGridLines::HorizontalLines(int from, int to) {
    for (int k = 0; k <= rows; ++k) {
        const int y = rowAt(k);
        if (k > 0 && y == rowAt(k - 1)) continue;
        Line(false, y, from, to, majorWidth);
    }
}

void TGridLines::MinorLines(bool vertical, int from, int to) {
    const int cells = vertical ? columns : rows;
    const int q = vertical ? subdivisionsX : subdivisionsY;
    const float step = vertical ? stepX : stepY;
    const auto& majorAt = vertical ? columnAt : rowAt;
    const int extent = vertical ? canvas.Target()->Width() : canvas.Target()->Height();
    const double low = -double(minorWidth) - 2.0, high = double(extent) + minorWidth + 2.0;
    int previousBase = 0;
    for (int i = 0; i < cells; ++i) {
        const int base = majorAt(i);
        if (i > 0 && base == previousBase) continue;  // the same lines again
        previousBase = base;
        // Only the subdivisions that can land on the target.
        int j0 = 1, j1 = q - 1;
        if (step != 0.0f && std::isfinite(step)) {
            double a = (low - base) / step, b = (high - base) / step;
            if (a > b) std::swap(a, b);
            if (a - 1.0 > j0) j0 = TruncToInt(a - 1.0);
            if (b + 1.0 < j1) j1 = TruncToInt(b + 1.0);
        }
        bool drawn = false;
        int last = 0;
        for (int j = j0; j <= j1; ++j) {
            const int at = TruncToInt(j * step + base);
            if (drawn && at == last) continue;
            Line(vertical, at, from, to, minorWidth);
            drawn = true;
            last = at;
        }
    }
    canvas.SetPenWidth(majorWidth);
}

}  // namespace quil
