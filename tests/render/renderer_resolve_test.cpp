#include <gtest/gtest.h>

#include <random>

#include "render_test_support.h"

namespace quil {
namespace {

using testing::Pixel;
using testing::Sample;

void FillRandom(TBitmap& b, uint32_t start) {
    std::mt19937 rng(start);
    for (int y = 0; y < b.Height(); ++y)
        for (int i = 0; i < 3 * b.Width(); ++i)
            b.ScanLine(y)[i] = uint8_t(rng());
}

TEST(RendererResolve, BlockOfHalfInkResolvesTo127) {
    TFuzzyLineGDI16X r(nullptr, 4, 4);
    r.Clear();
    for (int y = 4; y < 8; ++y)
        for (int x = 4; x < 6; ++x)
            std::memset(r.WorkRow(y) + 3 * x, 0, 3);  // 8 of 16 black
    r.ResolveRect(1, 1, 2, 2);
    EXPECT_EQ(Pixel(r, 1, 1)[0], 127);
    EXPECT_EQ(Pixel(r, 1, 1)[2], 127);
    EXPECT_EQ(Pixel(r, 0, 0)[0], 255);
}

// The resolve sums work samples with vector instructions where it can; a
// plain loop over the f x f samples of each pixel is the reference, on
// random samples and on rectangles of every alignment.
TEST(RendererResolve, RandomSamplesResolveAsThePlainBoxFilter) {
    std::mt19937 rng(2024);
    for (int q = 0; q < 3; ++q) {
        for (bool inverted : {false, true}) {
            auto r = MakeRenderer(q, nullptr, 37, 9);
            r->SetInverted(inverted);
            for (int y = 0; y < r->GetWorkHeight(); ++y)
                for (int i = 0; i < 3 * r->GetWorkWidth(); ++i)
                    r->WorkRow(y)[i] = uint8_t(rng());
            const int f = r->WorkFactor(), shift = f == 4 ? 4 : f == 2 ? 2 : 0;
            for (int n = 0; n < 40; ++n) {
                const int x0 = int(rng() % 37), y0 = int(rng() % 9);
                const int x1 = x0 + 1 + int(rng() % (37 - x0)), y1 = y0 + 1 + int(rng() % (9 - y0));
                r->DisplayDC().Fill(0x5A);
                r->ResolveRect(x0, y0, x1, y1);
                for (int y = 0; y < 9; ++y)
                    for (int x = 0; x < r->Width(); ++x)
                        for (int c = 0; c < 3; ++c) {
                            int expected = 0x5A;
                            if (x >= x0 && x < x1 && y >= y0 && y < y1) {
                                unsigned sum = 0;
                                for (int j = 0; j < f; ++j)
                                    for (int i = 0; i < f; ++i)
                                        sum += Sample(*r, f * x + i, f * y + j)[c];
                                expected = int(sum >> shift);
                                if (inverted) expected = 255 - expected;
                            }
                            ASSERT_EQ(Pixel(*r, x, y)[c], expected)
                                << "quality " << q << " at " << x << "," << y << " in (" << x0
                                << ", " << y0 << ", " << x1 << ", " << y1 << ")";
                        }
            }
        }
    }
}

TEST(RendererResolve, RectangleIsClampedAndAnEmptyOneStillGrowsTheDirtyRectangle) {
    for (int q = 0; q < 3; ++q) {
        auto r = MakeRenderer(q, nullptr, 12, 9);
        r->Clear();
        r->PresentAll();
        for (int y = 0; y < r->GetWorkHeight(); ++y)
            std::memset(r->WorkRow(y), 0, 3 * r->GetWorkWidth());
        r->ResolveRect(-5, -5, r->Width() + 5, r->Height() + 5);
        EXPECT_EQ(r->DirtyRect().left, 0);
        EXPECT_EQ(r->DirtyRect().top, 0);
        EXPECT_EQ(r->DirtyRect().right, r->Width());
        EXPECT_EQ(r->DirtyRect().bottom, 9);
        EXPECT_EQ(Pixel(*r, r->Width() - 1, 8)[0], 0);
        r->PresentAll();
        r->Clear();
        r->PresentAll();
        for (int y = 0; y < r->GetWorkHeight(); ++y)
            std::memset(r->WorkRow(y), 0, 3 * r->GetWorkWidth());
        r->ResolveRect(8, 2, 4, 6);
        EXPECT_EQ(Pixel(*r, 5, 3)[0], 255);  // nothing resolved
        EXPECT_FALSE(r->DirtyEmpty());
        EXPECT_EQ(r->DirtyRect().left, 8);
        EXPECT_EQ(r->DirtyRect().right, 4);
    }
}

TEST(RendererResolve, ExpandThenResolveGivesThePictureBack) {
    for (int q = 0; q < 3; ++q) {
        for (bool inverted : {false, true}) {
            auto r = MakeRenderer(q, nullptr, 13, 7);
            r->SetInverted(inverted);
            FillRandom(r->DisplayDC(), 17);
            const TBitmap before = r->DisplayDC().Clone();
            r->ExpandAll();
            FillRandom(r->DisplayDC(), 99);
            r->ResolveAll();
            for (int y = 0; y < 7; ++y)
                ASSERT_EQ(
                    std::memcmp(before.ScanLine(y), r->DisplayDC().ScanLine(y), 3 * r->Width()), 0)
                    << "quality " << q << " inverted " << inverted;
            // The work surface holds true colours: complements when inverted.
            const uint8_t shown = before.ScanLine(2)[3 * 3];
            EXPECT_EQ(Sample(*r, r->WorkFactor() * 3, r->WorkFactor() * 2)[0],
                      inverted ? 255 - shown : shown);
        }
    }
}

TEST(RendererResolve, ExpandRectWritesOnlyItsBlocks) {
    TFuzzyLineGDI4X r(nullptr, 6, 6);
    r.Clear();
    r.DisplayDC().Fill(10);
    r.PresentAll();
    r.ExpandRect(-2, 1, 2, 3);
    EXPECT_TRUE(r.DirtyEmpty());
    EXPECT_EQ(Sample(r, 0, 2)[0], 10);
    EXPECT_EQ(Sample(r, 3, 5)[0], 10);
    EXPECT_EQ(Sample(r, 4, 2)[0], 255);
    EXPECT_EQ(Sample(r, 0, 1)[0], 255);
    EXPECT_EQ(Sample(r, 0, 6)[0], 255);
}

TEST(RendererResolve, OddMiddleWidthLeavesTwoSampleColumnsUnused) {
    TFuzzyLineGDI4X r(nullptr, 5, 3);
    ASSERT_EQ(r.GetWorkWidth(), 12);
    r.Clear();
    for (int y = 0; y < 6; ++y)
        std::memset(r.WorkRow(y) + 3 * 10, 0, 6);
    r.ResolveAll();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(Pixel(r, x, y)[1], 255);
}

TEST(RendererClear, PaperOrTheBackgroundLayer) {
    TFuzzyLineGDI16X r(nullptr, 8, 6);
    r.DisplayDC().Fill(3);
    r.Clear();
    EXPECT_EQ(Pixel(r, 7, 5)[0], 255);
    EXPECT_EQ(Sample(r, 31, 23)[0], 255);
    r.SetInverted(true);
    r.Clear();
    EXPECT_EQ(Pixel(r, 7, 5)[0], 0);
    EXPECT_EQ(Sample(r, 31, 23)[0], 255);  // work keeps true colours
    TBitmap page;
    ASSERT_TRUE(page.Create(8, 6, 24, 0));
    page.ScanLine(2)[3 * 5 + 1] = 200;
    r.CaptureBackground(page, 8, 6);
    r.SetInverted(false);
    r.PresentAll();
    r.Clear();
    EXPECT_EQ(Pixel(r, 5, 2)[1], 200);
    EXPECT_EQ(Pixel(r, 4, 2)[1], 0);
    EXPECT_EQ(r.DirtyRect().right, 8);
    r.ReleaseBackground();
    EXPECT_FALSE(r.HasBackground());
    r.Clear();
    EXPECT_EQ(Pixel(r, 5, 2)[0], 255);
}

}  // namespace
}  // namespace quil
