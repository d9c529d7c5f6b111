#include "platform/raster_spans.h"

#include <algorithm>
#include <cmath>

namespace quil {

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
    int a = int(std::ceil(cx_ - half - 0.5));
    int b = int(std::floor(cx_ + half - 0.5));
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
    const double fy = double(y);
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
        // Interior crossing, half-open in y so a shared vertex counts once.
        if (y < highY) crossings_.push_back(double(p.x) + (fy - double(p.y)) * slope);
        // Outline: the part of the edge within half a row of y.
        const double ya = std::max(fy - 0.5, double(lowY));
        const double yb = std::min(fy + 0.5, double(highY));
        const double xa = double(p.x) + (ya - double(p.y)) * slope;
        const double xb = double(p.x) + (yb - double(p.y)) * slope;
        const int a = int(std::floor(std::min(xa, xb) + 0.5));
        const int b = int(std::floor(std::max(xa, xb) + 0.5));
        outline_.push_back({a, std::max(a, b)});
    }
    if (crossings_.size() > 16)
        std::sort(crossings_.begin(), crossings_.end());
    else
        SortFew(crossings_, [](double l, double r) { return l < r; });
    for (size_t i = 0; i + 1 < crossings_.size(); i += 2) {
        const int a = int(std::ceil(crossings_[i]));
        const int b = int(std::floor(crossings_[i + 1]));
        if (a <= b) fill_.push_back({a, b});
    }
    Merge(fill_);
    Merge(outline_);
    union_.assign(fill_.begin(), fill_.end());
    union_.insert(union_.end(), outline_.begin(), outline_.end());
    Merge(union_);
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
    const int a = int(std::ceil(lo - 0.5));
    const int b = int(std::floor(hi - 0.5));
    if (a > b) return false;
    left = a;
    right = b;
    return true;
}

}  // namespace quil
