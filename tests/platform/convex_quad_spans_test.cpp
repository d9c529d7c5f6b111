// The convex quadrilateral's span walker against the general polygon filler
// it stands in for: the same samples, row for row, for every quadrilateral
// it takes, and it takes the convex ones the stroke renderers make.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "platform/raster_spans.h"

namespace quil {
namespace {

struct TRowSpan {
    int y, x0, x1;
};

// The polygon filler's spans over the quadrilateral's rows.
std::vector<TRowSpan> FillerSpans(const TPoint quad[4], int top, int bottom) {
    TPolygonSpans filler;
    std::vector<TRowSpan> spans;
    filler.Fill(quad, 4, -100000, top, 100000, bottom, [&](int y, int a, int b) {
        spans.push_back({y, a, b});
    });
    return spans;
}

// Compares the walker with the filler on one quadrilateral; true when the
// walker took it.
bool ExpectSameRows(const TPoint quad[4]) {
    TConvexQuadSpans walker;
    if (!walker.Set(quad)) return false;
    const std::vector<TRowSpan> filled = FillerSpans(quad, walker.FirstRow(), walker.LastRow());
    size_t next = 0;
    for (int y = walker.FirstRow() - 1; y <= walker.LastRow() + 1; ++y) {
        int a = 0, b = -1;
        const bool any = walker.Row(y, a, b);
        std::vector<TRowSpan> row;
        for (; next < filled.size() && filled[next].y == y; ++next)
            row.push_back(filled[next]);
        const auto where = ::testing::Message()
                           << "row " << y << " of (" << quad[0].x << "," << quad[0].y << ") ("
                           << quad[1].x << "," << quad[1].y << ") (" << quad[2].x << ","
                           << quad[2].y << ") (" << quad[3].x << "," << quad[3].y << ")";
        if (row.empty()) {
            EXPECT_FALSE(any) << where;
            continue;
        }
        EXPECT_EQ(row.size(), 1u) << where;
        EXPECT_TRUE(any) << where;
        EXPECT_EQ(a, row[0].x0) << where;
        EXPECT_EQ(b, row[0].x1) << where;
    }
    EXPECT_EQ(next, filled.size());
    return true;
}

TEST(ConvexQuadSpans, TakesConvexShapesAndRefusesTheRest) {
    struct Case {
        TPoint quad[4];
        bool convex;
    } cases[] = {
        {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true},   // a square
        {{{0, 0}, {0, 10}, {10, 10}, {10, 0}}, true},   // the other way round
        {{{0, 0}, {10, 2}, {10, 2}, {3, 9}}, true},     // a triangle with a corner twice
        {{{0, 0}, {5, 0}, {10, 0}, {5, 8}}, true},      // three corners in a line
        {{{0, 0}, {10, 10}, {10, 0}, {0, 10}}, false},  // crossed: a bow tie
        {{{0, 0}, {10, 0}, {3, 3}, {0, 10}}, false},    // a dent
        {{{0, 0}, {10, 5}, {20, 10}, {10, 5}}, false},  // flat, doubling back
        {{{4, 4}, {4, 4}, {4, 4}, {4, 4}}, false},      // one point
        {{{0, 0}, {10, 0}, {5, 0}, {5, 5}}, false},     // doubling back along an edge
    };
    for (const Case& c : cases) {
        TConvexQuadSpans walker;
        EXPECT_EQ(walker.Set(c.quad), c.convex) << c.quad[1].x << "," << c.quad[2].x;
        if (c.convex) ExpectSameRows(c.quad);
    }
}

// Quadrilaterals of every shape and size near the origin: tiny ones, where
// whole-sample corners bend the shape most, and large ones.
TEST(ConvexQuadSpans, MatchesThePolygonFillerOnRandomQuadrilaterals) {
    std::mt19937 rng(5150);
    int taken = 0;
    for (int spread : {2, 5, 12, 40, 300}) {
        std::uniform_int_distribution<int> coordinate(-spread, spread);
        for (int i = 0; i < 8000; ++i) {
            TPoint quad[4];
            for (TPoint& p : quad)
                p = {coordinate(rng), coordinate(rng)};
            taken += ExpectSameRows(quad) ? 1 : 0;
            if (::testing::Test::HasFailure()) return;
        }
    }
    // About a third of random quadrilaterals are convex.
    EXPECT_GT(taken, 8000);
}

// The tangent quadrilaterals of pen segments: two discs' outer tangent
// points, truncated to whole samples, as the renderers make them.
TEST(ConvexQuadSpans, MatchesThePolygonFillerOnPenSegmentQuadrilaterals) {
    std::mt19937 rng(77);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int taken = 0, made = 0;
    for (int i = 0; i < 60000; ++i) {
        const double scale = std::pow(10.0, -1.0 + 3.0 * unit(rng));  // 0.1 .. 100 samples
        const double x0 = 50 * unit(rng), y0 = 50 * unit(rng);
        const double angle = 6.2831853 * unit(rng), d = scale * unit(rng);
        const double x1 = x0 + d * std::cos(angle), y1 = y0 + d * std::sin(angle);
        const double r0 = scale * unit(rng), r1 = scale * unit(rng);
        const double dr = r0 - r1, dd = std::hypot(x1 - x0, y1 - y0);
        if (std::fabs(dr) > dd || dd < 1e-3) continue;
        // The tangent points, from the common outer tangents.
        const double c = dr / dd, s = std::sqrt(std::max(0.0, 1 - c * c));
        const double ux = (x1 - x0) / dd, uy = (y1 - y0) / dd;
        const double nx = c * ux - s * uy, ny = c * uy + s * ux;
        const double mx = c * ux + s * uy, my = c * uy - s * ux;
        TPoint quad[4] = {{int(x0 + r0 * nx), int(y0 + r0 * ny)},
                          {int(x1 + r1 * nx), int(y1 + r1 * ny)},
                          {int(x1 + r1 * mx), int(y1 + r1 * my)},
                          {int(x0 + r0 * mx), int(y0 + r0 * my)}};
        ++made;
        taken += ExpectSameRows(quad) ? 1 : 0;
        if (::testing::Test::HasFailure()) return;
    }
    // Most of them are convex once truncated (all but the smallest); the
    // rest go to the polygon filler.
    EXPECT_GT(taken, made / 2);
}

}  // namespace
}  // namespace quil
