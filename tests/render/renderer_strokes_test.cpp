#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "render_test_support.h"

namespace quil {
namespace {

using testing::InkedSamples;
using testing::SameWork;
using testing::Sample;

template <class R>
std::unique_ptr<R> Blank(int w = 40, int h = 30) {
    auto r = std::make_unique<R>(nullptr, w, h);
    r->Clear();
    return r;
}

TEST(RendererStrokes, SegmentsThatAddNoInk) {
    const PenSegment cases[] = {
        {10, 10, 3, 10, 10, 3},     // equal points and radii
        {10, 10, 5, 11, 10.5f, 2},  // end disc inside the start disc
        {10, 10, 4, 10.2f, 10, 3.5f},
    };
    for (const PenSegment& s : cases) {
        auto r = Blank<TFuzzyLineGDI16X>();
        r->DrawSegment(&s);
        EXPECT_EQ(InkedSamples(*r), 0);
    }
}

// Opaque ink: a stroke is the union of its discs and hulls, so the road
// through DrawSegment and the road of separate discs must agree wherever the
// hull adds nothing but its one-sample outline (points closer than the radii
// differ, or d2 < 0.005): any extra sample touches the discs' ink.
TEST(RendererStrokes, VeryShortSegmentsEqualTheirTwoDiscs) {
    const PenSegment cases[] = {{10, 10, 3, 10.4f, 10.1f, 3.2f},
                                {12, 9, 2, 12.03f, 9.02f, 2},
                                {15, 15, 6, 15.3f, 15.2f, 6.2f},
                                {8, 8, 1, 8.5f, 8, 1.3f}};
    for (const PenSegment& s : cases) {
        auto a = Blank<TFuzzyLineGDI16X>();
        auto b = Blank<TFuzzyLineGDI16X>();
        const PenPoint p0{s.x0, s.y0, s.r0}, p1{s.x1, s.y1, s.r1};
        a->DrawDot(&p0);
        a->DrawSegment(&s);
        b->DrawDot(&p0);
        b->DrawDot(&p1);
        auto inked = [](TFuzzyLineGDI& r, int x, int y) { return Sample(r, x, y)[0] == 0; };
        int extra = 0;
        for (int y = 1; y + 1 < a->GetWorkHeight(); ++y)
            for (int x = 1; x + 1 < a->GetWorkWidth(); ++x) {
                if (inked(*b, x, y)) {
                    ASSERT_TRUE(inked(*a, x, y)) << "lost " << x << "," << y;
                    continue;
                }
                if (!inked(*a, x, y)) continue;
                ++extra;
                bool touches = false;
                for (int j = -1; j <= 1; ++j)
                    for (int i = -1; i <= 1; ++i)
                        touches |= inked(*b, x + i, y + j);
                ASSERT_TRUE(touches) << "stray ink at " << x << "," << y;
            }
        EXPECT_LT(extra, 12);
    }
}

TEST(RendererStrokes, HalfInkIsBlendedOncePerSampleAlongAStroke) {
    for (int q = 0; q < 3; ++q) {
        auto r = MakeRenderer(q, nullptr, 60, 40);
        r->Clear();
        r->SetOpacity(128);
        const PenPoint pts[] = {{5, 5, 2}, {15, 8, 3}, {25, 10, 2.5f}, {35, 15, 4}, {50, 22, 2}};
        r->DrawDot(&pts[0]);
        for (int i = 1; i < 5; ++i) {
            const PenSegment s{pts[i - 1].x, pts[i - 1].y, pts[i - 1].radius,
                               pts[i].x,     pts[i].y,     pts[i].radius};
            r->DrawSegment(&s);
        }
        // Gentle turns: inside the stroke no sample is inked twice; only a
        // few edge samples where one hull's outline meets the next one's.
        int inked = 0, twice = 0;
        for (int y = 0; y < r->GetWorkHeight(); ++y)
            for (int x = 0; x < r->GetWorkWidth(); ++x) {
                const uint8_t v = Sample(*r, x, y)[0];
                ASSERT_TRUE(v == 255 || v == 127 || v == 63) << int(v) << " at " << x << "," << y;
                inked += v != 255;
                twice += v == 63;
            }
        EXPECT_GT(inked, 100 * r->WorkFactor() * r->WorkFactor());
        EXPECT_LT(twice, inked / 50 + 2) << "quality " << q;
    }
}

void DrawStroke(TFuzzyLineGDI& r, const std::vector<PenPoint>& pts) {
    r.DrawDot(&pts[0]);
    for (size_t i = 1; i < pts.size(); ++i) {
        const PenSegment s{pts[i - 1].x, pts[i - 1].y, pts[i - 1].radius,
                           pts[i].x,     pts[i].y,     pts[i].radius};
        r.DrawSegment(&s);
    }
}

TEST(RendererPenMarker, OnlyTheLastPointKeepsAnInvertedRing) {
    const std::vector<PenPoint> pts = {{5, 5, 2}, {12, 8, 3}, {20, 12, 2.5f}, {28, 10, 3}};
    for (int q = 0; q < 3; ++q) {
        auto marked = MakeRenderer(q, nullptr, 40, 30);
        auto plain = MakeRenderer(q, nullptr, 40, 30);
        marked->Clear();
        plain->Clear();
        marked->SetColor(MakeColor(30, 60, 90));
        plain->SetColor(MakeColor(30, 60, 90));
        marked->SetPenMarker(true);
        DrawStroke(*marked, pts);
        DrawStroke(*plain, pts);
        const int f = marked->WorkFactor();
        int differing = 0;
        for (int y = 0; y < marked->GetWorkHeight(); ++y)
            for (int x = 0; x < marked->GetWorkWidth(); ++x)
                for (int c = 0; c < 3; ++c) {
                    const uint8_t a = Sample(*marked, x, y)[c], b = Sample(*plain, x, y)[c];
                    if (a == b) continue;
                    ASSERT_EQ(a, uint8_t(255 - b));
                    // Within the last disc's rectangle.
                    ASSERT_GE(x, (28 - 3) * f - 1);
                    ASSERT_LE(x, (28 + 3) * f);
                    ++differing;
                }
        EXPECT_GT(differing, 0);
        // The next segment from that point inverts that ring back and leaves
        // one at its own end only.
        const PenSegment next{28, 10, 3, 33, 14, 2};
        marked->DrawSegment(&next);
        plain->DrawSegment(&next);
        for (int y = 0; y < marked->GetWorkHeight(); ++y)
            for (int x = 0; x < marked->GetWorkWidth(); ++x) {
                const uint8_t a = Sample(*marked, x, y)[1], b = Sample(*plain, x, y)[1];
                if (a == b) continue;
                ASSERT_EQ(a, uint8_t(255 - b));
                ASSERT_GE(x, (33 - 2) * f - 1);
                ASSERT_LE(x, (33 + 2) * f);
            }
    }
}

TEST(RendererPenMarker, ASegmentFromAnotherPointInvertsARingThere) {
    for (int q = 0; q < 3; ++q) {
        auto marked = MakeRenderer(q, nullptr, 40, 30);
        auto plain = MakeRenderer(q, nullptr, 40, 30);
        marked->Clear();
        plain->Clear();
        marked->SetPenMarker(true);
        const PenPoint first{8, 8, 2};
        marked->DrawDot(&first);
        plain->DrawDot(&first);
        const PenSegment elsewhere{20, 15, 2, 26, 15, 2};  // does not start at (8, 8)
        marked->DrawSegment(&elsewhere);
        plain->DrawSegment(&elsewhere);
        // The ring at (8, 8) stays, one is left at (26, 15), and the one
        // inverted at (20, 15) stays too: the segment never inks its start
        // disc. Each ring lies within its disc's rectangle, in samples.
        const int f = marked->WorkFactor();
        bool atFirst = false, atEnd = false, atStart = false;
        for (int y = 0; y < marked->GetWorkHeight(); ++y)
            for (int x = 0; x < marked->GetWorkWidth(); ++x) {
                if (Sample(*marked, x, y)[0] == Sample(*plain, x, y)[0]) continue;
                if (x < 11 * f && y < 11 * f)
                    atFirst = true;
                else if (x >= 24 * f && x < 28 * f)
                    atEnd = true;
                else if (x >= 18 * f && x < 22 * f && y >= 13 * f && y < 17 * f)
                    atStart = true;
            }
        EXPECT_TRUE(atFirst) << "quality " << q;
        EXPECT_TRUE(atEnd) << "quality " << q;
        EXPECT_TRUE(atStart) << "quality " << q;
    }
}

TEST(RendererPenMarker, ZeroRadiiDrawNoRing) {
    auto r = Blank<TFuzzyLineGDI16X>();
    r->SetPenMarker(true);
    const PenPoint dot{10, 10, 0};
    r->DrawDot(&dot);
    EXPECT_EQ(InkedSamples(*r), 0);
    const PenSegment toZero{10, 10, 0, 20, 10, 0};
    r->DrawSegment(&toZero);  // a thin line of ink, no rings
    auto plain = Blank<TFuzzyLineGDI16X>();
    plain->DrawSegment(&toZero);
    EXPECT_TRUE(SameWork(*r, *plain));
}

TEST(RendererLevels, NegativeLevelStopsDrawingUntilRaised) {
    auto r = Blank<TFuzzyLineGDI4X>();
    const PenPoint p{10, 10, 3};
    r->DrawDotAtLevel(&p, -1);
    EXPECT_EQ(InkedSamples(*r), 0);
    r->DrawDot(&p);
    const PenSegment s{10, 10, 3, 20, 10, 3};
    r->DrawSegment(&s);
    r->EraseDot(&p);
    const float xs[] = {1, 10, 5}, ys[] = {1, 1, 9};
    r->FillPolygon(xs, ys, 3);
    EXPECT_EQ(InkedSamples(*r), 0);
    r->DrawDotAtLevel(&p, 0);
    EXPECT_GT(InkedSamples(*r), 0);
    EXPECT_EQ(r->DrawingLevel(), 0);
}

TEST(RendererLevels, DifferentLevelsDrawAlsoBelowTheMinimum) {
    auto a = Blank<TFuzzyLineGDI16X>();
    auto b = Blank<TFuzzyLineGDI16X>();
    const PenSegment s{5, 5, 2, 25, 15, 3};
    a->DrawSegmentLevels(&s, 1, -1);
    EXPECT_EQ(a->DrawingLevel(), -1);
    b->DrawSegment(&s);
    EXPECT_TRUE(SameWork(*a, *b));
    a->DrawSegmentLevels(&s, -2, -2);  // equal levels: an ordinary, refused segment
    EXPECT_TRUE(SameWork(*a, *b));
}

TEST(RendererBatches, OverlapsAreInkedOnceAndMatchSingleDiscsWhenOpaque) {
    const PenPoint pts[] = {
        {10, 10, 4}, {13, 11, 4}, {16, 10, 5}, {100, 100, 3} /* outside */, {12, 14, 3}};
    auto batch = Blank<TFuzzyLineGDI16X>();
    auto single = Blank<TFuzzyLineGDI16X>();
    batch->DrawDots(pts, 1, 5);
    for (const PenPoint& p : pts)
        single->DrawDot(&p);
    EXPECT_TRUE(SameWork(*batch, *single));
    auto half = Blank<TFuzzyLineGDI16X>();
    half->SetOpacity(128);
    half->DrawDots(pts, 1, 5);
    for (int y = 0; y < half->GetWorkHeight(); ++y)
        for (int x = 0; x < half->GetWorkWidth(); ++x) {
            const uint8_t v = Sample(*half, x, y)[0];
            ASSERT_TRUE(v == 255 || v == 127) << x << "," << y;
        }
}

TEST(RendererBatches, SegmentsAreInkedOnceAndMatchTheStrokeWhenOpaque) {
    const PenSegment segs[] = {{5, 5, 2, 12, 9, 3}, {12, 9, 3, 20, 7, 2}, {20, 7, 2, 14, 3, 3}};
    auto batch = Blank<TFuzzyLineGDI16X>();
    auto single = Blank<TFuzzyLineGDI16X>();
    const PenPoint first{5, 5, 2};
    batch->DrawDot(&first);
    single->DrawDot(&first);
    batch->DrawSegments(segs, 1, 1, 3);
    EXPECT_EQ(batch->DrawingLevel(), 1);
    for (const PenSegment& s : segs)
        single->DrawSegment(&s);
    // A chain in one batch inks what the chain of single segments inks.
    EXPECT_TRUE(SameWork(*batch, *single));
    auto half = Blank<TFuzzyLineGDI16X>();
    half->SetOpacity(128);
    half->DrawSegments(segs, 0, 1, 3);
    for (int y = 0; y < half->GetWorkHeight(); ++y)
        for (int x = 0; x < half->GetWorkWidth(); ++x) {
            const uint8_t v = Sample(*half, x, y)[0];
            ASSERT_TRUE(v == 255 || v == 127) << x << "," << y;
        }
}

TEST(RendererPolygon, FillsUpToItsLastVertex) {
    auto r = Blank<TFuzzyLineGDI16X>();
    const float xs[] = {2, 5.9f, 5.9f, 2}, ys[] = {2, 2, 5.9f, 5.9f};
    r->FillPolygon(xs, ys, 4);
    EXPECT_EQ(Sample(*r, 8, 8)[0], 0);
    EXPECT_EQ(Sample(*r, 23, 23)[0], 0);  // trunc(5.9 * 4) = 23
    EXPECT_EQ(Sample(*r, 24, 12)[0], 255);
    EXPECT_EQ(Sample(*r, 7, 12)[0], 255);
    // No vertices, or none given, draw nothing.
    auto blank = Blank<TFuzzyLineGDI16X>();
    blank->FillPolygon(xs, ys, 0);
    blank->FillPolygon(nullptr, ys, 4);
    EXPECT_EQ(InkedSamples(*blank), 0);
}

// Shapes wholly outside the surface add no ink; wild values (huge, infinite,
// NaN) may ink what they cover but stay inside the surfaces, leave only
// ink or paper, and leave the renderer drawing as a fresh one does.
TEST(RendererStrokes, ShapesOutsideTheSurfaceAndWildValuesAreHarmless) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const PenPoint outsidePoints[] = {{-50, 5, 3}, {5, 500, 3}, {-inf, 2, 1}, {nan, 3, 2}};
    const PenSegment outsideSegments[] = {{-50, 5, 3, -40, 5, 3}, {5, -90, 2, 30, -60, 4}};
    const PenPoint wildPoints[] = {{1e30f, 1e30f, 1e30f}, {3, 3, inf}};
    const PenSegment wildSegments[] = {
        {nan, nan, nan, 3, 3, 3}, {1e20f, 0, 1, -1e20f, 10, 1}, {3, 3, 1e9f, 4, 4, 1e9f}};
    const PenPoint probe{10, 10, 3};
    for (int q = 0; q < 3; ++q) {
        auto r = MakeRenderer(q, nullptr, 20, 20);
        r->Clear();
        for (const PenPoint& p : outsidePoints)
            r->DrawDot(&p);
        for (const PenSegment& s : outsideSegments)
            r->DrawSegment(&s);
        r->DrawDots(outsidePoints, 1, 4);
        r->DrawSegments(outsideSegments, 0, 1, 2);
        EXPECT_EQ(InkedSamples(*r), 0) << "quality " << q;

        r->PresentAll();
        for (const PenPoint& p : wildPoints)
            r->DrawDot(&p);
        for (const PenSegment& s : wildSegments)
            r->DrawSegment(&s);
        r->DrawDots(wildPoints, 1, 2);
        r->DrawSegments(wildSegments, 0, 1, 3);
        r->SetViewport(0, 0, 0, 0);  // an infinite scale
        r->DrawSegment(&wildSegments[1]);
        for (int y = 0; y < r->GetWorkHeight(); ++y)
            for (int x = 0; x < r->GetWorkWidth(); ++x)
                for (int c = 0; c < 3; ++c) {
                    const uint8_t v = Sample(*r, x, y)[c];
                    ASSERT_TRUE(v == 0 || v == 255) << int(v) << " quality " << q;
                }
        if (!r->DirtyEmpty()) {
            EXPECT_GE(r->DirtyRect().left, 0);
            EXPECT_GE(r->DirtyRect().top, 0);
            EXPECT_LE(r->DirtyRect().right, r->Width());
            EXPECT_LE(r->DirtyRect().bottom, r->Height());
        }

        r->SetViewport(0, 0, r->Width(), r->Height());
        r->Clear();
        r->DrawDot(&probe);
        auto fresh = MakeRenderer(q, nullptr, 20, 20);
        fresh->Clear();
        fresh->DrawDot(&probe);
        EXPECT_TRUE(SameWork(*r, *fresh)) << "quality " << q;
    }
}

}  // namespace
}  // namespace quil
