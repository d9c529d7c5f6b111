#include "platform/raster_spans.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quil {

namespace {

// std::floor and std::ceil of a value within the int range, as ints,
// without a call into the maths library: the conversion truncates toward
// zero, and one step corrects it on the other side of zero.
inline int FloorToInt(double v) {
    const int i = int(v);
    return i - (v < double(i) ? 1 : 0);
}

inline int CeilToInt(double v) {
    const int i = int(v);
    return i + (v > double(i) ? 1 : 0);
}

}  // namespace

TEllipseSpans::TEllipseSpans(int left, int top, int right, int bottom)
    : left_(std::min(left, right)),
      top_(std::min(top, bottom)),
      right_(std::max(left, right)),
      bottom_(std::max(top, bottom)) {
    cx_ = 0.5 * (double(left_) + double(right_));
    cy_ = 0.5 * (double(top_) + double(bottom_));
    a_ = 0.5 * (double(right_) - double(left_));
    b_ = 0.5 * (double(bottom_) - double(top_));
}

bool TEllipseSpans::Row(int y, int& x0, int& x1) const {
    if (Empty() || y < top_ || y >= bottom_) return false;
    const double t = (double(y) + 0.5 - cy_) / b_;
    const double u = 1.0 - t * t;
    if (u < 0.0) return false;
    const double half = a_ * std::sqrt(u);
    // Pixel centres px + 0.5 with |px + 0.5 - cx| <= half.
    int a = CeilToInt(cx_ - half - 0.5);
    int b = FloorToInt(cx_ + half - 0.5);
    if (a < left_) a = left_;
    if (b > right_ - 1) b = right_ - 1;
    if (a > b) return false;
    x0 = a;
    x1 = b;
    return true;
}

TEllipseRingSpans::TEllipseRingSpans(int left, int top, int right, int bottom, int width)
    : outer_(left, top, right, bottom),
      inner_(std::min(left, right) + width, std::min(top, bottom) + width,
             std::max(left, right) - width, std::max(top, bottom) - width) {}

TRowSpans TEllipseRingSpans::Row(int y) const {
    TRowSpans r;
    int a, b;
    if (!outer_.Row(y, a, b)) return r;
    int ia, ib;
    // The inset ellipse lies inside the outer one, so its span is nested.
    if (!inner_.Row(y, ia, ib) || ia > ib) {
        r.count = 1;
        r.x0[0] = a;
        r.x1[0] = b;
        return r;
    }
    if (ia > a) {
        r.x0[r.count] = a;
        r.x1[r.count] = std::min(b, ia - 1);
        ++r.count;
    }
    if (ib < b) {
        r.x0[r.count] = std::max(a, ib + 1);
        r.x1[r.count] = b;
        ++r.count;
    }
    return r;
}

bool TPolygonSpans::RowRange(const TPoint* points, int count, int clipTop, int clipBottom, int& y0,
                             int& y1) const {
    if (count < 1 || clipBottom < clipTop) return false;
    y0 = y1 = points[0].y;
    for (int i = 1; i < count; ++i) {
        y0 = std::min(y0, points[i].y);
        y1 = std::max(y1, points[i].y);
    }
    y0 = std::max(y0, clipTop);
    y1 = std::min(y1, clipBottom);
    return y0 <= y1;
}

namespace {

// Rows of the shapes we draw hold a handful of spans: insertion sort.
template <class T, class Less>
void SortFew(std::vector<T>& v, Less less) {
    for (size_t i = 1; i < v.size(); ++i) {
        const T item = v[i];
        size_t j = i;
        for (; j > 0 && less(item, v[j - 1]); --j)
            v[j] = v[j - 1];
        v[j] = item;
    }
}

// One sloped edge from (x, y), `slope` in x per row, over rows lowY..highY,
// in `row`, one of them: its interior crossing, half-open in y so that a
// vertex two edges share counts once, and the outline span of the part of
// the edge within half a row of the row. Polygon rows and convex
// quadrilateral rows both take their edges from here, so they agree.
struct TEdgeInRow {
    bool crosses;  // row < highY
    double crossing;
    int a, b;  // the outline span, a <= b
};

TEdgeInRow SlopedEdgeInRow(double x, double y, double slope, int lowY, int highY, int row) {
    const double fy = double(row);
    TEdgeInRow edge;
    edge.crosses = row < highY;
    edge.crossing = x + (fy - y) * slope;
    const double ya = std::max(fy - 0.5, double(lowY));
    const double yb = std::min(fy + 0.5, double(highY));
    const double xa = x + (ya - y) * slope;
    const double xb = x + (yb - y) * slope;
    edge.a = FloorToInt(std::min(xa, xb) + 0.5);
    edge.b = std::max(edge.a, FloorToInt(std::max(xa, xb) + 0.5));
    return edge;
}

}  // namespace

void TPolygonSpans::Merge(std::vector<TSpan>& spans) {
    if (spans.size() > 16) {
        std::sort(spans.begin(), spans.end(),
                  [](const TSpan& l, const TSpan& r) { return l.x0 < r.x0; });
    } else {
        SortFew(spans, [](const TSpan& l, const TSpan& r) { return l.x0 < r.x0; });
    }
    size_t out = 0;
    for (size_t i = 0; i < spans.size(); ++i) {
        if (out > 0 && spans[i].x0 <= spans[out - 1].x1 + 1) {
            spans[out - 1].x1 = std::max(spans[out - 1].x1, spans[i].x1);
        } else {
            spans[out++] = spans[i];
        }
    }
    spans.resize(out);
}

void TPolygonSpans::BuildRow(const TPoint* points, int count, int y) {
    crossings_.clear();
    fill_.clear();
    outline_.clear();
    for (int i = 0; i < count; ++i) {
        const TPoint& p = points[i];
        const TPoint& q = points[i + 1 == count ? 0 : i + 1];
        const int lowY = std::min(p.y, q.y), highY = std::max(p.y, q.y);
        if (y < lowY || y > highY) continue;
        if (p.y == q.y) {
            outline_.push_back({std::min(p.x, q.x), std::max(p.x, q.x)});
            continue;
        }
        const double slope = (double(q.x) - double(p.x)) / (double(q.y) - double(p.y));
        const TEdgeInRow edge = SlopedEdgeInRow(double(p.x), double(p.y), slope, lowY, highY, y);
        if (edge.crosses) crossings_.push_back(edge.crossing);
        outline_.push_back({edge.a, edge.b});
    }
    if (crossings_.size() > 16)
        std::sort(crossings_.begin(), crossings_.end());
    else
        SortFew(crossings_, [](double l, double r) { return l < r; });
    for (size_t i = 0; i + 1 < crossings_.size(); i += 2) {
        const int a = CeilToInt(crossings_[i]);
        const int b = FloorToInt(crossings_[i + 1]);
        if (a <= b) fill_.push_back({a, b});
    }
    Merge(fill_);
    Merge(outline_);
    union_.assign(fill_.begin(), fill_.end());
    union_.insert(union_.end(), outline_.begin(), outline_.end());
    Merge(union_);
}

bool TConvexQuadSpans::Set(const TPoint quad[4]) {
    top_ = 0;
    bottom_ = -1;
    // The corners without repeats, to see which way the outline turns.
    TPoint corners[4];
    int n = 0;
    for (int i = 0; i < 4; ++i) {
        const TPoint& p = quad[i];
        const TPoint& last = quad[(i + 3) % 4];
        if (p.x != last.x || p.y != last.y) corners[n++] = p;
    }
    if (n < 3) return false;
    int turns = 0;  // +1 or -1 once a turn is seen
    for (int i = 0; i < n; ++i) {
        const TPoint& a = corners[i];
        const TPoint& b = corners[(i + 1) % n];
        const TPoint& c = corners[(i + 2) % n];
        const int64_t ux = int64_t(b.x) - a.x, uy = int64_t(b.y) - a.y;
        const int64_t vx = int64_t(c.x) - b.x, vy = int64_t(c.y) - b.y;
        const int64_t cross = ux * vy - uy * vx;
        if (cross == 0) {
            if (ux * vx + uy * vy < 0) return false;  // the outline doubles back
            continue;
        }
        const int sign = cross > 0 ? 1 : -1;
        if (turns != 0 && sign != turns) return false;
        turns = sign;
    }
    if (turns == 0) return false;  // all on one line
    top_ = bottom_ = quad[0].y;
    for (int i = 0; i < 4; ++i) {
        const TPoint& p = quad[i];
        const TPoint& q = quad[(i + 1) % 4];
        TEdge& e = edges_[i];
        e.x = double(p.x);
        e.y = double(p.y);
        e.lowY = std::min(p.y, q.y);
        e.highY = std::max(p.y, q.y);
        e.minX = std::min(p.x, q.x);
        e.maxX = std::max(p.x, q.x);
        e.flat = p.y == q.y;
        e.slope = e.flat ? 0.0 : (double(q.x) - double(p.x)) / (double(q.y) - double(p.y));
        top_ = std::min(top_, p.y);
        bottom_ = std::max(bottom_, p.y);
    }
    return true;
}

bool TConvexQuadSpans::Row(int y, int& x0, int& x1) const {
    if (y < top_ || y > bottom_) return false;
    // The edges as TPolygonSpans::BuildRow takes them; the interior and the
    // outline spans of a convex shape join into one span, their hull.
    int lo = INT32_MAX, hi = INT32_MIN;
    double cross[4];
    int crossings = 0;
    for (const TEdge& e : edges_) {
        if (y < e.lowY || y > e.highY) continue;
        if (e.flat) {
            lo = std::min(lo, e.minX);
            hi = std::max(hi, e.maxX);
            continue;
        }
        const TEdgeInRow edge = SlopedEdgeInRow(e.x, e.y, e.slope, e.lowY, e.highY, y);
        if (edge.crosses) cross[crossings++] = edge.crossing;
        lo = std::min(lo, edge.a);
        hi = std::max(hi, edge.b);
    }
    if (crossings == 2) {
        const int a = CeilToInt(std::min(cross[0], cross[1]));
        const int b = FloorToInt(std::max(cross[0], cross[1]));
        if (a <= b) {
            lo = std::min(lo, a);
            hi = std::max(hi, b);
        }
    }
    if (lo > hi) return false;
    x0 = lo;
    x1 = hi;
    return true;
}

bool CapsuleRow(double x0, double y0, double x1, double y1, double radius, int y, int& left,
                int& right) {
    const double py = double(y) + 0.5;
    double lo = 1e300, hi = -1e300;
    auto disc = [&](double cx, double cy) {
        const double dy = py - cy;
        const double u = radius * radius - dy * dy;
        if (u < 0.0) return;
        const double h = std::sqrt(u);
        lo = std::min(lo, cx - h);
        hi = std::max(hi, cx + h);
    };
    disc(x0, y0);
    disc(x1, y1);
    const double dx = x1 - x0, dy = y1 - y0;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len > 0.0 && dy != 0.0) {
        // Band |n . (p - p0)| <= radius, n the unit normal (-dy, dx) / len.
        const double nx = -dy / len, ny = dx / len;
        double bandLo = -1e300, bandHi = 1e300;
        const double base = ny * (py - y0);
        if (nx != 0.0) {
            double a = (-radius - base) / nx + x0, b = (radius - base) / nx + x0;
            bandLo = std::min(a, b);
            bandHi = std::max(a, b);
        } else if (std::fabs(base) > radius) {
            bandLo = 1e300;
        }
        // Slab 0 <= t . (p - p0) <= len, t the unit direction.
        const double tx = dx / len, ty = dy / len;
        double slabLo = -1e300, slabHi = 1e300;
        const double tb = ty * (py - y0);
        if (tx != 0.0) {
            double a = (0.0 - tb) / tx + x0, b = (len - tb) / tx + x0;
            slabLo = std::min(a, b);
            slabHi = std::max(a, b);
        } else if (tb < 0.0 || tb > len) {
            slabLo = 1e300;
        }
        const double a = std::max(bandLo, slabLo), b = std::min(bandHi, slabHi);
        if (a <= b) {
            lo = std::min(lo, a);
            hi = std::max(hi, b);
        }
    } else if (len > 0.0 && std::fabs(py - y0) <= radius) {
        lo = std::min(lo, std::min(x0, x1));
        hi = std::max(hi, std::max(x0, x1));
    }
    if (lo > hi) return false;
    // Pixel centres px + 0.5 within [lo, hi].
    const int a = CeilToInt(lo - 0.5);
    const int b = FloorToInt(hi - 0.5);
    if (a > b) return false;
    left = a;
    right = b;
    return true;
}

}  // namespace quil
