#include <gtest/gtest.h>

#include "render_test_support.h"

namespace quil {
namespace {

using testing::Pixel;
using testing::Sample;
using testing::TProbe;
using testing::TRecordingWindow;

TEST(RendererSizes, WorkSurfaceFollowsTheQuality) {
    struct Case {
        int quality, w, h, displayW, workW, workH;
    } cases[] = {{0, 641, 10, 644, 644, 10}, {0, 640, 3, 640, 640, 3}, {1, 7, 5, 7, 16, 10},
                 {1, 8, 5, 8, 16, 10},       {2, 9, 4, 9, 36, 16},     {1, 1, 1, 1, 4, 2}};
    for (const Case& c : cases) {
        auto r = MakeRenderer(c.quality, nullptr, c.w, c.h);
        ASSERT_TRUE(r->IsValid());
        EXPECT_EQ(r->Width(), c.displayW);
        EXPECT_EQ(r->Height(), c.h);
        EXPECT_EQ(r->GetWorkWidth(), c.workW);
        EXPECT_EQ(r->GetWorkHeight(), c.workH);
        EXPECT_EQ(r->DisplayDC().Width(), c.displayW);
        EXPECT_TRUE(r->OffScreen());
    }
}

TEST(RendererSizes, SurfacesThatCannotBeHadLeaveAnInertRenderer) {
    const int sizes[][2] = {{0, 10}, {10, -1}, {200000, 200000}, {INT32_MAX, 2}};
    for (auto& s : sizes) {
        for (int q = 0; q < 3; ++q) {
            auto r = MakeRenderer(q, nullptr, s[0], s[1]);
            EXPECT_FALSE(r->IsValid());
            const PenPoint p{5, 5, 3};
            const PenSegment seg{5, 5, 3, 9, 9, 2};
            r->SetPenMarker(true);
            r->Clear();
            r->DrawDot(&p);
            r->DrawSegment(&seg);
            r->EraseDot(&p);
            r->DrawDots(&p, 1, 1);
            r->ResolveAll();
            r->ExpandAll();
            r->SetInverted(true);
            r->CaptureBackground(r->DisplayDC(), 4, 4);
            // Nothing was drawn, resolved or captured.
            EXPECT_TRUE(r->DirtyEmpty());
            EXPECT_FALSE(r->HasBackground());
            EXPECT_EQ(r->GetWorkWidth(), 0);
            EXPECT_EQ(r->GetWorkHeight(), 0);
            EXPECT_TRUE(r->ShapeMask().Empty());
            r->PresentAll();
            r->PresentDirty();
            EXPECT_TRUE(r->DirtyEmpty());
        }
    }
}

TEST(RendererInk, OpacityIsClampedAndBlendsWithoutRounding) {
    TFuzzyLineGDI16X r(nullptr, 20, 20);
    r.Clear();
    r.SetOpacity(300);
    EXPECT_EQ(r.Opacity(), 256);
    r.SetOpacity(-4);
    EXPECT_EQ(r.Opacity(), 0);
    const PenPoint p{10, 10, 4};
    r.DrawDot(&p);  // opacity 0 draws nothing
    EXPECT_EQ(Sample(r, 40, 40)[0], 255);
    r.SetColor(MakeColor(10, 200, 0));
    r.SetOpacity(128);
    r.DrawDot(&p);
    const uint8_t* s = Sample(r, 40, 40);
    EXPECT_EQ(s[0], (255 * 128 + 0 * 128) >> 8);  // blue
    EXPECT_EQ(s[1], (255 * 128 + 200 * 128) >> 8);
    EXPECT_EQ(s[2], (255 * 128 + 10 * 128) >> 8);  // red
    r.SetOpacity(256);
    r.DrawDot(&p);
    EXPECT_EQ(s[0], 0);
    EXPECT_EQ(s[1], 200);
    EXPECT_EQ(s[2], 10);
}

TEST(RendererInk, AnyNonZeroMaskValueCountsAndZeroLeavesTheSample) {
    TProbe<4> r(4, 4);
    r.Clear();
    r.Mask(1)[1] = 1;
    r.Mask(1)[2] = 255;
    r.CompositeInk(0, 0, 15, 15);
    EXPECT_EQ(Sample(r, 1, 1)[0], 0);
    EXPECT_EQ(Sample(r, 2, 1)[0], 0);
    EXPECT_EQ(Sample(r, 3, 1)[0], 255);
    EXPECT_EQ(r.Mask(1)[1], 1);  // left as it was
    r.SetColor(MakeColor(0, 0, 90));
    r.CompositeInkClearing(0, 0, 15, 15);
    EXPECT_EQ(Sample(r, 1, 1)[0], 90);
    EXPECT_EQ(r.Mask(1)[1], 0);
    EXPECT_EQ(r.Mask(1)[2], 0);
}

TEST(RendererInk, EraserRestoresPaperOrTheBackgroundLayer) {
    TProbe<2> r(6, 6);
    r.Clear();
    for (int y = 0; y < 12; ++y)
        std::memset(r.WorkRow(y), 0, 36);
    r.Mask(3)[4] = 255;
    r.CompositeErase(0, 0, 11, 11);
    EXPECT_EQ(Sample(r, 4, 3)[1], 255);
    EXPECT_EQ(Sample(r, 5, 3)[1], 0);
    TBitmap picture;
    ASSERT_TRUE(picture.Create(3, 3, 24, 0));
    picture.ScanLine(1)[3 * 1 + 2] = 77;  // red at (1, 1)
    r.CaptureBackground(picture, 3, 3);
    ASSERT_TRUE(r.HasBackground());
    // 3 x 3 stretched over 12 x 12: sample (4, 4) comes from pixel (1, 1).
    r.Mask(4)[4] = 255;
    r.CompositeErase(0, 0, 11, 11);
    EXPECT_EQ(Sample(r, 4, 4)[2], 77);
    EXPECT_EQ(Sample(r, 4, 4)[0], 0);
    r.SetOpacity(128);
    r.Mask(4)[4] = 0;
    r.Mask(6)[6] = 255;  // half an eraser over black with a black layer sample
    r.CompositeErase(0, 0, 11, 11);
    EXPECT_EQ(Sample(r, 6, 6)[0], 0);
    r.ReleaseBackground();
    r.CompositeErase(0, 0, 11, 11);
    EXPECT_EQ(Sample(r, 6, 6)[0], 127);
}

TEST(RendererClip, ClipCoversTheSamplesOfItsDisplayPixels) {
    TFuzzyLineGDI16X best(nullptr, 10, 10);
    best.SetClipRect(5, 5, 5, 5);
    EXPECT_TRUE(best.ClipOn());
    EXPECT_EQ(best.ClipRect().left, 20);
    EXPECT_EQ(best.ClipRect().right, 23);
    EXPECT_EQ(best.ClipRect().top, 20);
    EXPECT_EQ(best.ClipRect().bottom, 23);
    TFuzzyLineGDI1X low(nullptr, 10, 10);
    low.SetClipRect(5, 5, 5, 5);
    EXPECT_EQ(low.ClipRect().left, 5);
    EXPECT_EQ(low.ClipRect().right, 5);
    TFuzzyLineGDI4X middle(nullptr, 1, 1);  // work width 4, still 2 samples a pixel
    middle.SetClipRect(0, 0, 0, 0);
    EXPECT_EQ(middle.ClipRect().right, 1);
}

TEST(RendererClip, OnlyTheCompositorsAreLimited) {
    TFuzzyLineGDI16X r(nullptr, 12, 12);
    r.Clear();
    r.SetClipRect(5, 5, 6, 6);
    const PenPoint p{6, 6, 5};
    r.DrawDot(&p);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            const bool inside = x >= 20 && x <= 27 && y >= 20 && y <= 27;
            ASSERT_EQ(Sample(r, x, y)[0], inside ? 0 : 255) << x << "," << y;
        }
    r.ClearClipRect();
    r.DrawDot(&p);
    EXPECT_EQ(Sample(r, 10, 24)[0], 0);
}

TEST(RendererDirty, GrowsSideBySideAndPresentEmptiesIt) {
    TRecordingWindow window;
    TFuzzyLineGDI4X r(&window, 40, 30);
    EXPECT_FALSE(r.OffScreen());
    EXPECT_EQ(Pixel(r, 3, 3)[0], 0x40);  // took the window's content
    EXPECT_TRUE(r.DirtyEmpty());
    r.PresentDirty();
    EXPECT_TRUE(window.copies.empty());
    r.AddDirtyRect(0, 0, 10, 10);
    r.AddDirtyRect(20, 20, 30, 30);
    EXPECT_EQ(r.DirtyRect().right, 30);
    EXPECT_EQ(r.DirtyRect().left, 0);
    r.PresentDirty();
    ASSERT_EQ(window.copies.size(), 1u);
    EXPECT_EQ(window.copies[0].w, 30);
    EXPECT_EQ(window.copies[0].h, 30);
    EXPECT_TRUE(r.DirtyEmpty());
    r.PresentAll();
    ASSERT_EQ(window.copies.size(), 2u);
    EXPECT_EQ(window.copies[1].w, 40);
    // A rectangle past the surface is copied only where the surface is.
    r.AddDirtyRect(-5, 25, 50, 45);
    r.PresentDirty();
    ASSERT_EQ(window.copies.size(), 3u);
    EXPECT_EQ(window.copies[2].x, 0);
    EXPECT_EQ(window.copies[2].w, 40);
    EXPECT_EQ(window.copies[2].h, 5);
    // An inverted empty resolve grows the dirty rectangle but shows nothing.
    r.ResolveRect(20, 5, 10, 8);
    EXPECT_FALSE(r.DirtyEmpty());
    r.PresentDirty();
    EXPECT_EQ(window.copies.size(), 3u);
    EXPECT_TRUE(r.DirtyEmpty());
}

TEST(RendererDirty, AWindowThatReadsBackAnotherShapeIsNotTrusted) {
    struct TOddWindow : TRecordingWindow {
        void ReadBack(TBitmap& into) override { into.Create(3, 3, 8, 0); }
    } window;
    TFuzzyLineGDI16X r(&window, 20, 10);
    ASSERT_TRUE(r.IsValid());
    EXPECT_EQ(r.DisplayDC().Width(), 20);
    EXPECT_EQ(r.DisplayDC().BitsPerPixel(), 24);
    r.Clear();
    r.ResolveAll();
    EXPECT_EQ(Pixel(r, 19, 9)[0], 255);
}

TEST(RendererDirty, OffScreenPresentsOnlyEmpty) {
    TFuzzyLineGDI16X r(nullptr, 10, 10);
    r.Clear();
    EXPECT_FALSE(r.DirtyEmpty());
    r.PresentDirty();
    EXPECT_TRUE(r.DirtyEmpty());
    r.AddDirtyRect(1, 1, 2, 2);
    r.PresentAll();
    EXPECT_TRUE(r.DirtyEmpty());
}

TEST(RendererInverted, ChangingItResolvesEverythingAndTheSameValueNothing) {
    TFuzzyLineGDI16X r(nullptr, 10, 8);
    r.Clear();
    r.PresentAll();
    r.SetInverted(false);
    EXPECT_TRUE(r.DirtyEmpty());
    r.WorkRow(4)[3 * 4] = 15;  // one blue byte of pixel (1, 1)
    r.SetInverted(true);
    EXPECT_TRUE(r.Inverted());
    EXPECT_EQ(r.DirtyRect().left, 0);
    EXPECT_EQ(r.DirtyRect().right, 10);
    EXPECT_EQ(r.DirtyRect().bottom, 8);
    EXPECT_EQ(Pixel(r, 1, 1)[0], 255 - ((15 + 15 * 255) >> 4));
    EXPECT_EQ(Pixel(r, 0, 0)[1], 0);
}

}  // namespace
}  // namespace quil
