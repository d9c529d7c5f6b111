#include "export/svg_outline.h"

#include <cmath>

#include "export/svg_numbers.h"

namespace quil {

namespace {

// One end of a hull: the two touching points of the outer tangents on the
// disc (x, y, r), given the shared direction terms of the pair.
struct TTangentPoints {
    float x1, y1, x2, y2;
};

TTangentPoints TangentPoints(float x, float y, float r, float k, float c, float dx, float dy,
                             float d2) {
    const float u = r * k;
    const float cx = x + u * dx;
    const float cy = y + u * dy;
    if (d2 < 0.005f) return {cx, cy, cx, cy};
    // Rounding can push the radicand a hair below zero when the discs
    // almost touch internally; the true value there is zero.
    const float radicand = (r * r - (r * c) * (r * c)) / d2;
    const float s = radicand > 0.0f ? float(std::sqrt(double(radicand))) : 0.0f;
    return {cx - dy * s, cy + dx * s, cx + dy * s, cy - dx * s};
}

}  // namespace

void WriteDisc(TSvgStream& out, float x, float y, float r) {
    out.Format("\t<circle cx=\"%d\" cy=\"%d\" r=\"%d\"/>\n", Tenths(x), Tenths(y), Tenths(r));
}

void WriteHull(TSvgStream& out, float x0, float y0, float r0, float x1, float y1, float r1) {
    const float dr = r0 - r1;
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const float d2 = dx * dx + dy * dy;
    const float d = float(std::sqrt(double(d2)));
    if (!(std::fabs(dr) > d)) {
        const float k = d > 0.5f ? dr / d2 : 0.0f;
        const float c = d > 0.5f ? k * d : 0.0f;  // cosine of the tangent angle
        const TTangentPoints p = TangentPoints(x0, y0, r0, k, c, dx, dy, d2);
        const TTangentPoints q = TangentPoints(x1, y1, r1, k, c, dx, dy, d2);
        out.Format("\t<polygon points=\"%d,%d %d,%d %d,%d %d,%d\"/>\n", Tenths(p.x1), Tenths(p.y1),
                   Tenths(q.x1), Tenths(q.y1), Tenths(q.x2), Tenths(q.y2), Tenths(p.x2),
                   Tenths(p.y2));
    }
    WriteDisc(out, x1, y1, r1);
}

}  // namespace quil
