#include "cairo_strokes.h"

#include <algorithm>
#include <cmath>

namespace quil::bench {

namespace {

void SetInk(cairo_t* cr, const TStrokeDataWT& stroke) {
    const uint32_t c = stroke.color;
    cairo_set_source_rgba(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                          ((c >> 16) & 0xFF) / 255.0, stroke.opacity / 255.0);
}

template <class Visit>
void ForEachStroke(const TPenReplayWT& document, Visit visit) {
    for (const TInkelDataWT* e = document.firstElement; e; e = e->next)
        if (e->kind == kStrokeKind) {
            const auto& stroke = static_cast<const TStrokeDataWT&>(*e);
            if (stroke.firstPoint) visit(stroke);
        }
}

}  // namespace

void AddDisc(cairo_t* cr, float x, float y, float r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
}

void AddTangentQuad(cairo_t* cr, const PenSegment& s) {
    const float dr = s.r0 - s.r1, dy = s.y1 - s.y0, dx = s.x1 - s.x0;
    const float d2 = dx * dx + dy * dy, d = std::sqrt(d2);
    if (!(std::fabs(dr) <= d) || d2 < 0.005f) return;
    float k = 0, c = 0;
    if (d > 0.5f) {
        k = dr / d2;
        c = k * d;
    }
    const float xs[2] = {s.x0, s.x1}, ys[2] = {s.y0, s.y1}, rs[2] = {s.r0, s.r1};
    double px[2], py[2], mx[2], my[2];
    for (int i = 0; i < 2; ++i) {
        const float q = rs[i] * rs[i] - (rs[i] * c) * (rs[i] * c), t = rs[i] * k;
        const float bx = xs[i] + t * dx, by = ys[i] + t * dy, m = std::sqrt(std::max(q, 0.0f) / d2);
        px[i] = bx - dy * m;
        py[i] = by + dx * m;
        mx[i] = bx + dy * m;
        my[i] = by - dx * m;
    }
    cairo_move_to(cr, px[0], py[0]);
    cairo_line_to(cr, px[1], py[1]);
    cairo_line_to(cr, mx[1], my[1]);
    cairo_line_to(cr, mx[0], my[0]);
    cairo_close_path(cr);
}

void DrawOutlines(cairo_t* cr, const TPenReplayWT& document) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    ForEachStroke(document, [&](const TStrokeDataWT& stroke) {
        double radii = 0;
        int n = 0;
        for (const TPenReplayPointWT* p = stroke.firstPoint; p; p = p->next) {
            if (p->radius <= 0) continue;
            radii += p->radius;
            ++n;
        }
        SetInk(cr, stroke);
        cairo_set_line_width(cr, n ? 2 * radii / n : 1.0);
        cairo_move_to(cr, stroke.firstPoint->x, stroke.firstPoint->y);
        for (const TPenReplayPointWT* p = stroke.firstPoint->next; p; p = p->next)
            cairo_line_to(cr, p->x, p->y);
        cairo_stroke(cr);
    });
}

void DrawDiscsAndQuads(cairo_t* cr, const TPenReplayWT& document) {
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    ForEachStroke(document, [&](const TStrokeDataWT& stroke) {
        SetInk(cr, stroke);
        const TPenReplayPointWT* p = stroke.firstPoint;
        AddDisc(cr, p->x, p->y, p->radius);
        cairo_fill(cr);
        for (const TPenReplayPointWT* q = p->next; q; p = q, q = q->next) {
            AddDisc(cr, q->x, q->y, q->radius);
            cairo_fill(cr);
            AddTangentQuad(cr, {p->x, p->y, p->radius, q->x, q->y, q->radius});
            cairo_fill(cr);
        }
    });
}

}  // namespace quil::bench
