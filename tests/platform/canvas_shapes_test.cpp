#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "canvas_test_support.h"
#include "platform/canvas.h"

namespace quil {
namespace {

using testing::NoisePicture;
using testing::SamePixels;

// Slow reference: the share of a pixel covered by a shape, from 16 x 16
// point samples spread over the pixel.
template <class Inside>
double Coverage(int px, int py, Inside inside) {
    int hits = 0;
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i)
            if (inside(px + (i + 0.5) / 16.0, py + (j + 0.5) / 16.0)) ++hits;
    return hits / 256.0;
}

struct TRectCase {
    int l, t, r, b;
};

TEST(CanvasEllipse, MatchesTheInscribedEllipseAwayFromItsEdge) {
    const TRectCase cases[] = {{2, 3, 30, 21},  {5, 5, 6, 6},  {0, 0, 40, 40}, {10, 4, 13, 30},
                               {-6, -4, 12, 9}, {30, 30, 7, 2} /* corners swapped */};
    for (const TRectCase& c : cases) {
        TBitmap pic;
        ASSERT_TRUE(pic.Create(40, 40, 8, 255));
        TCanvas canvas(&pic);
        canvas.SetPenColor(kBlack);
        canvas.SetBrushColor(kBlack);
        canvas.Ellipse(c.l, c.t, c.r, c.b);
        const double l = std::min(c.l, c.r), r = std::max(c.l, c.r);
        const double t = std::min(c.t, c.b), b = std::max(c.t, c.b);
        const double cx = (l + r) / 2, cy = (t + b) / 2, a = (r - l) / 2, bb = (b - t) / 2;
        auto inside = [&](double x, double y) {
            const double u = (x - cx) / a, v = (y - cy) / bb;
            return u * u + v * v <= 1.0;
        };
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                const bool inked = pic.ScanLine(y)[x] == 0;
                const double cov = Coverage(x, y, inside);
                if (x < l || x >= r || y < t || y >= b) {
                    EXPECT_FALSE(inked) << "outside the rectangle at " << x << "," << y;
                } else if (cov > 0.75) {
                    EXPECT_TRUE(inked) << "interior missing at " << x << "," << y;
                } else if (cov < 0.1) {
                    EXPECT_FALSE(inked) << "ink beyond the edge at " << x << "," << y;
                }
            }
        }
    }
}

TEST(CanvasEllipse, RingAndInteriorTakeTheirOwnColoursAndAHollowBrushLeavesTheInside) {
    TBitmap pic;
    ASSERT_TRUE(pic.Create(40, 40, 24, 255));
    TCanvas canvas(&pic);
    canvas.SetPenColor(MakeColor(255, 0, 0));
    canvas.SetPenWidth(3);
    canvas.SetBrushColor(MakeColor(0, 0, 255));
    canvas.Ellipse(0, 0, 40, 40);
    const uint8_t* mid = pic.ScanLine(20);
    EXPECT_EQ(mid[3 * 0 + 2], 255);  // ring: red
    EXPECT_EQ(mid[3 * 0 + 0], 0);
    EXPECT_EQ(mid[3 * 20 + 0], 255);  // interior: blue
    EXPECT_EQ(mid[3 * 20 + 2], 0);
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.SetPenColor(kBlack);
    canvas.Ellipse(0, 0, 40, 40);
    EXPECT_EQ(mid[3 * 20 + 0], 255);  // still blue inside
    EXPECT_EQ(mid[3 * 1 + 2], 0);
}

// Reference for a polygon through integer vertices: pixel (x, y) stands for
// the point (x, y); even-odd rule.
bool InsideEvenOdd(const std::vector<TPoint>& p, double x, double y) {
    bool in = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        const double xi = p[i].x, yi = p[i].y, xj = p[j].x, yj = p[j].y;
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
}

double DistanceToOutline(const std::vector<TPoint>& p, double x, double y) {
    double best = 1e9;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        const double ax = p[j].x, ay = p[j].y, bx = p[i].x, by = p[i].y;
        const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        best = std::min(best, std::hypot(x - ax - t * dx, y - ay - t * dy));
    }
    return best;
}

TEST(CanvasPolygon, FillsByTheAlternateRuleWithItsOutline) {
    const std::vector<std::vector<TPoint>> shapes = {
        {{3, 4}, {30, 8}, {22, 33}, {5, 25}},              // convex
        {{20, 2}, {26, 36}, {2, 13}, {37, 13}, {13, 36}},  // star: hollow centre
        {{5, 5}, {35, 5}, {35, 6}, {5, 6}},                // two rows thin
        {{10, 10}, {10, 10}, {10, 10}, {10, 10}},          // a point
        {{-10, 5}, {50, 20}, {-10, 35}},                   // reaching outside
    };
    for (const auto& shape : shapes) {
        TBitmap pic;
        ASSERT_TRUE(pic.Create(40, 40, 8, 255));
        TCanvas canvas(&pic);
        canvas.SetPenColor(kBlack);
        canvas.SetBrushColor(kBlack);
        canvas.Polygon(shape.data(), int(shape.size()));
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                const bool inked = pic.ScanLine(y)[x] == 0;
                const double dist = DistanceToOutline(shape, x, y);
                if (dist < 0.5) {
                    EXPECT_TRUE(inked) << "outline missing at " << x << "," << y;
                } else if (dist > 1.0) {
                    EXPECT_EQ(inked, InsideEvenOdd(shape, x, y)) << "at " << x << "," << y;
                }
            }
        }
    }
}

TEST(CanvasPolygon, OutlineOverAnotherBrushColourKeepsEachPixelOnce) {
    const TPoint shape[] = {{3, 4}, {30, 8}, {22, 33}, {5, 25}};
    TBitmap pic = NoisePicture(40, 40, 24, 7);
    TBitmap before = pic.Clone();
    TCanvas canvas(&pic);
    canvas.SetPenMode(TPenMode::NotXor);
    canvas.SetPenColor(MakeColor(10, 20, 30));
    canvas.SetBrushColor(MakeColor(200, 100, 50));
    canvas.Polygon(shape, 4);
    EXPECT_FALSE(SamePixels(pic, before));
    canvas.Polygon(shape, 4);
    EXPECT_TRUE(SamePixels(pic, before));
}

TEST(CanvasShapes, InvertingPenTwiceGivesThePictureBack) {
    for (int bpp : {24, 8}) {
        TBitmap pic = NoisePicture(64, 48, bpp, 11);
        const TBitmap before = pic.Clone();
        TCanvas canvas(&pic);
        canvas.SetPenMode(TPenMode::NotXor);
        canvas.SetPenColor(kBlack);
        canvas.SetBrushStyle(TBrushStyle::Clear);
        const TPoint tri[] = {{2, 2}, {60, 20}, {10, 45}};
        auto drawAll = [&] {
            for (int w : {1, 2, 4, 7}) {
                canvas.SetPenWidth(w);
                canvas.Ellipse(3, 2, 61, 47);
                canvas.Ellipse(20, 20, 24, 24);
                canvas.Rectangle(5, 5, 40, 30);
                canvas.MoveTo(1, 40);
                canvas.LineTo(62, 3);
            }
            canvas.Polygon(tri, 3);
        };
        drawAll();
        EXPECT_FALSE(SamePixels(pic, before));
        drawAll();
        EXPECT_TRUE(SamePixels(pic, before)) << bpp << " bits";
    }
}

TEST(CanvasShapes, RingOfAnInvertingBlackPenComplementsEachPixelOnce) {
    TBitmap pic = NoisePicture(50, 50, 24, 3);
    const TBitmap before = pic.Clone();
    TCanvas canvas(&pic);
    canvas.SetPenMode(TPenMode::NotXor);
    canvas.SetPenWidth(4);
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.Ellipse(5, 7, 45, 41);
    int changed = 0;
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 150; ++x) {
            const uint8_t now = pic.ScanLine(y)[x], was = before.ScanLine(y)[x];
            if (now != was) {
                EXPECT_EQ(now, uint8_t(~was));
                ++changed;
            }
        }
    }
    EXPECT_GT(changed, 3 * 4 * 100);  // a closed ring about 4 wide
    // The centre and the corners are untouched.
    EXPECT_EQ(pic.ScanLine(24)[3 * 25], before.ScanLine(24)[3 * 25]);
    EXPECT_EQ(pic.ScanLine(0)[0], before.ScanLine(0)[0]);
}

TEST(CanvasShapes, RectangleAndFillRectExcludeRightAndBottom) {
    TBitmap pic;
    ASSERT_TRUE(pic.Create(20, 20, 8, 255));
    TCanvas canvas(&pic);
    canvas.SetBrushColor(MakeColor(128, 128, 128));
    canvas.FillRect({2, 3, 8, 9});
    EXPECT_EQ(pic.ScanLine(3)[2], 128);
    EXPECT_EQ(pic.ScanLine(8)[7], 128);
    EXPECT_EQ(pic.ScanLine(9)[7], 255);
    EXPECT_EQ(pic.ScanLine(8)[8], 255);
    canvas.SetBrushColor(kWhite);
    canvas.Rectangle(10, 10, 15, 14);  // black outline, white inside
    EXPECT_EQ(pic.ScanLine(10)[10], 0);
    EXPECT_EQ(pic.ScanLine(13)[14], 0);
    EXPECT_EQ(pic.ScanLine(12)[12], 255);
    EXPECT_EQ(pic.ScanLine(14)[12], 255);
    EXPECT_EQ(pic.ScanLine(12)[15], 255);
    canvas.FillRect({-5, -5, 100, 100});  // clipped, no fault
    EXPECT_EQ(pic.ScanLine(19)[19], 255);
}

}  // namespace
}  // namespace quil
