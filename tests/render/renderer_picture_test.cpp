#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "render_test_support.h"

namespace quil {
namespace {

// An independent model of the page: each stroke as discs joined by the
// hulls of neighbouring discs in exact geometry (tangent points from the
// angle between the centre line and the radii), sampled at the centre of
// every work sample, blended as the renderer blends and averaged per pixel.
struct TStroke {
    COLORREF color;
    int opacity;
    std::vector<PenPoint> points;
};

bool InDisc(double x, double y, const PenPoint& p) {
    const double dx = x - p.x, dy = y - p.y;
    return dx * dx + dy * dy <= double(p.radius) * p.radius;
}

// Whether (x, y) lies in the hull quadrilateral or within `pen` of it (the
// quadrilateral is filled with its outline, one work sample wide).
bool InHull(double x, double y, const PenPoint& a, const PenPoint& b, double pen) {
    const double dx = b.x - a.x, dy = b.y - a.y, d = std::hypot(dx, dy);
    const double dr = double(a.radius) - b.radius;
    if (d <= std::fabs(dr) || d == 0) return false;
    const double theta = std::atan2(dy, dx), phi = std::acos(dr / d);
    const double q[4][2] = {
        {a.x + a.radius * std::cos(theta + phi), a.y + a.radius * std::sin(theta + phi)},
        {b.x + b.radius * std::cos(theta + phi), b.y + b.radius * std::sin(theta + phi)},
        {b.x + b.radius * std::cos(theta - phi), b.y + b.radius * std::sin(theta - phi)},
        {a.x + a.radius * std::cos(theta - phi), a.y + a.radius * std::sin(theta - phi)}};
    int sign = 0;
    bool inside = true;
    double nearest = 1e300;
    for (int i = 0; i < 4; ++i) {
        const double* u = q[i];
        const double* v = q[(i + 1) % 4];
        const double ex = v[0] - u[0], ey = v[1] - u[1];
        const double cross = ex * (y - u[1]) - ey * (x - u[0]);
        const int s = cross > 0 ? 1 : (cross < 0 ? -1 : 0);
        if (s != 0) {
            if (sign == 0)
                sign = s;
            else if (s != sign)
                inside = false;
        }
        const double len2 = ex * ex + ey * ey;
        double t = len2 > 0 ? ((x - u[0]) * ex + (y - u[1]) * ey) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        nearest = std::min(nearest, std::hypot(x - u[0] - t * ex, y - u[1] - t * ey));
    }
    return inside || nearest <= pen;
}

std::vector<uint8_t> ReferencePicture(const std::vector<TStroke>& strokes, int w, int h, int f) {
    const int ww = w * f, wh = h * f;
    std::vector<uint8_t> work(size_t(3) * ww * wh, 255);
    for (const TStroke& s : strokes) {
        const unsigned k[3] = {BlueOf(s.color), GreenOf(s.color), RedOf(s.color)};
        for (int sy = 0; sy < wh; ++sy)
            for (int sx = 0; sx < ww; ++sx) {
                const double x = (sx + 0.5) / f, y = (sy + 0.5) / f;
                // One blend per step: the first disc, then what each step adds.
                int blends = InDisc(x, y, s.points[0]) ? 1 : 0;
                for (size_t i = 1; i < s.points.size(); ++i) {
                    const PenPoint& a = s.points[i - 1];
                    const PenPoint& b = s.points[i];
                    if ((InDisc(x, y, b) || InHull(x, y, a, b, 0.5 / f)) && !InDisc(x, y, a))
                        ++blends;
                }
                uint8_t* p = &work[3 * (size_t(sy) * ww + sx)];
                for (int n = 0; n < blends; ++n)
                    for (int c = 0; c < 3; ++c)
                        p[c] = s.opacity >= 256
                                   ? uint8_t(k[c])
                                   : uint8_t((p[c] * (256u - s.opacity) + k[c] * s.opacity) >> 8);
            }
    }
    std::vector<uint8_t> display(size_t(3) * w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                unsigned sum = 0;
                for (int j = 0; j < f; ++j)
                    for (int i = 0; i < f; ++i)
                        sum += work[3 * (size_t(y * f + j) * ww + x * f + i) + c];
                display[3 * (size_t(y) * w + x) + c] = uint8_t(sum / unsigned(f * f));
            }
    return display;
}

std::vector<TStroke> Page() {
    return {
        {MakeColor(0, 0, 0),
         256,
         {{6, 8, 1.5f}, {20, 12, 2}, {34, 9, 2.5f}, {48, 20, 1.2f}, {60, 34, 3}}},
        {MakeColor(200, 30, 10), 128, {{10, 40, 4}, {25, 30, 3}, {40, 44, 5}, {70, 40, 2}}},
        {MakeColor(20, 90, 220), 200, {{66, 6, 0.7f}, {74, 18, 1}, {68, 30, 0.6f}}},
        {MakeColor(0, 120, 0), 256, {{30, 20, 6}}},
    };
}

TEST(RendererPicture, EachQualityMatchesTheExactCoverageModel) {
    const int w = 80, h = 48;
    for (int q = 0; q < 3; ++q) {
        auto r = MakeRenderer(q, nullptr, w, h);
        ASSERT_EQ(r->Width(), w);
        r->Clear();
        for (const TStroke& s : Page()) {
            r->SetColor(s.color);
            r->SetOpacity(s.opacity);
            r->DrawDot(&s.points[0]);
            for (size_t i = 1; i < s.points.size(); ++i) {
                const PenPoint& a = s.points[i - 1];
                const PenPoint& b = s.points[i];
                const PenSegment seg{a.x, a.y, a.radius, b.x, b.y, b.radius};
                r->DrawSegment(&seg);
            }
        }
        const int f = r->WorkFactor();
        const std::vector<uint8_t> ref = ReferencePicture(Page(), w, h, f);
        long inkOurs = 0, inkRef = 0;
        int far = 0, differing = 0, inkedPixels = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < 3; ++c) {
                    const int ours = testing::Pixel(*r, x, y)[c];
                    const int theirs = ref[3 * (size_t(y) * w + x) + c];
                    inkOurs += 255 - ours;
                    inkRef += 255 - theirs;
                    inkedPixels += theirs != 255;
                    differing += ours != theirs;
                    far += std::abs(ours - theirs) > (f == 2 ? 192 : 128);
                }
        // Edge samples may fall either way; the amount of ink may not.
        EXPECT_NEAR(double(inkOurs) / double(inkRef), 1.0, 0.05) << "quality " << q;
        // A lost hull or a shifted sample grid shows as pixels far off.
        if (f > 1) {
            EXPECT_EQ(far, 0) << "quality " << q;
        }
        EXPECT_LT(differing, inkedPixels / 2) << "quality " << q;

        // Every drawing resolved its own box: resolving all changes nothing.
        const TBitmap shown = r->DisplayDC().Clone();
        r->ResolveAll();
        for (int y = 0; y < h; ++y)
            ASSERT_EQ(std::memcmp(shown.ScanLine(y), r->DisplayDC().ScanLine(y), 3 * w), 0);
    }
}

TEST(RendererPicture, ErasingAStrokeGivesThePaperBack) {
    for (int q = 0; q < 3; ++q) {
        auto r = MakeRenderer(q, nullptr, 60, 40);
        r->Clear();
        const std::vector<PenPoint> pts = {{10, 10, 2}, {30, 20, 3}, {50, 12, 2}};
        auto stroke = [&](bool erase) {
            if (erase)
                r->EraseDot(&pts[0]);
            else
                r->DrawDot(&pts[0]);
            for (size_t i = 1; i < pts.size(); ++i) {
                const PenSegment s{pts[i - 1].x, pts[i - 1].y, pts[i - 1].radius,
                                   pts[i].x,     pts[i].y,     pts[i].radius};
                if (erase)
                    r->EraseSegment(&s);
                else
                    r->DrawSegment(&s);
            }
        };
        r->SetPenMarker(true);  // the ring left at the last point lies inside its disc
        stroke(false);
        stroke(true);  // erasing draws and removes no ring
        EXPECT_EQ(testing::InkedSamples(*r), 0) << "quality " << q;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x)
                ASSERT_EQ(testing::Pixel(*r, x, y)[0], 255);
    }
}

}  // namespace
}  // namespace quil
