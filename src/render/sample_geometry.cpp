#include "render/sample_geometry.h"

#include <algorithm>
#include <cmath>

#include "render/fuzzy_line_gdi.h"

namespace quil {

TSampleBox TSampleGeometry::DiscBox(float x, float y, float r) const {
    const int64_t X = TruncSample(x * float(factor)), Y = TruncSample(y * float(factor)),
                  R = TruncSample(r * float(factor));
    return {TruncSample(float(X - R - 1 - originWorkX) * scaleX),
            TruncSample(float(Y - R - 1 - originWorkY) * scaleY),
            TruncSample(float(X + R + 1 - originWorkX) * scaleX),
            TruncSample(float(Y + R + 1 - originWorkY) * scaleY)};
}

TSampleBox TSampleGeometry::SegmentBox(const PenSegment& s) const {
    const float f = float(factor);
    const int64_t X0 = TruncSample(s.x0 * f), Y0 = TruncSample(s.y0 * f),
                  R0 = TruncSample(s.r0 * f);
    const int64_t X1 = TruncSample(s.x1 * f), Y1 = TruncSample(s.y1 * f),
                  R1 = TruncSample(s.r1 * f);
    return {TruncSample(float(std::min(X0 - R0, X1 - R1) - 1 - originWorkX) * scaleX),
            TruncSample(float(std::min(Y0 - R0, Y1 - R1) - 1 - originWorkY) * scaleY),
            TruncSample(float(std::max(X0 + R0, X1 + R1) + 1 - originWorkX) * scaleX),
            TruncSample(float(std::max(Y0 + R0, Y1 + R1) + 1 - originWorkY) * scaleY)};
}

bool TSampleGeometry::ClipToSurface(TSampleBox& box) const {
    if (box.left < 0)
        box.left = 0;
    else if (box.left >= workWidth)
        return false;
    if (box.right < 0) return false;
    if (box.right >= workWidth) box.right = workWidth - 1;
    if (box.top < 0)
        box.top = 0;
    else if (box.top >= workHeight)
        return false;
    if (box.bottom < 0) return false;
    if (box.bottom >= workHeight) box.bottom = workHeight - 1;
    return true;
}

bool TSampleGeometry::TangentQuad(const PenSegment& s, bool strict, TPoint quad[4]) const {
    const float dr = s.r0 - s.r1, dy = s.y1 - s.y0, dx = s.x1 - s.x0;
    const float d2 = dy * dy + dx * dx;
    const float d = std::sqrt(d2);
    const float adr = std::fabs(dr);
    if (strict ? !(adr < d) : !(adr <= d)) return false;
    float k = 0.0f, c = 0.0f;
    if (d > 0.5f) {
        k = dr / d2;
        c = k * d;
    }
    const float xs[2] = {s.x0, s.x1}, ys[2] = {s.y0, s.y1}, rs[2] = {s.r0, s.r1};
    TPoint plus[2], minus[2];
    for (int i = 0; i < 2; ++i) {
        const float r = rs[i];
        const float q = r * r - (r * c) * (r * c);
        const float t = r * k;
        const float bx = xs[i] + t * dx, by = ys[i] + t * dy;
        float px = bx, py = by, mx = bx, my = by;
        if (d2 >= 0.005f) {
            // q can dip below 0 by rounding when the discs nearly touch.
            const float m = std::sqrt(std::max(q, 0.0f) / d2);
            px = bx - dy * m;
            py = by + dx * m;
            mx = bx + dy * m;
            my = by - dx * m;
        }
        plus[i] = {MapX(px), MapY(py)};
        minus[i] = {MapX(mx), MapY(my)};
    }
    quad[0] = plus[0];
    quad[1] = plus[1];
    quad[2] = minus[1];
    quad[3] = minus[0];
    return true;
}

}  // namespace quil
