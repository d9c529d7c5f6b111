// The second page: the paper's shape, fit and centring, the placed
// picture, its drag, nudges, position buttons and zoom, and the preview.

#include "print/paper_placement.h"

#include <gtest/gtest.h>

#include "picture_decoders.h"
#include "platform/canvas.h"

namespace quil {
namespace {

constexpr int kA4Width = 4960, kA4Height = 7016;  // at 600 dots per inch

using testing::PixelAt;

// A preview of one colour with the area rectangle at (left, top).
TBitmap SolidPreview(COLORREF color) {
    TBitmap preview;
    preview.Create(kAreaPreviewWidth, kAreaPreviewHeight);
    TCanvas canvas(&preview);
    canvas.SetBrushColor(color);
    canvas.FillRect({0, 0, kAreaPreviewWidth, kAreaPreviewHeight});
    return preview;
}

TPaperPlacement PlacedOnA4(const TAreaRect& area, COLORREF color = MakeColor(0, 128, 255)) {
    TPaperPlacement placement;
    placement.UpdatePaper(kA4Width, kA4Height);
    placement.TakeArea(SolidPreview(color), area);
    placement.ResetPlacement();
    return placement;
}

TEST(PaperPlacement, ThePaperKeepsThePageShape) {
    TPaperPlacement placement;
    placement.UpdatePaper(kA4Width, kA4Height);
    EXPECT_NEAR(placement.Paper().w, 169.67f, 0.01f);
    EXPECT_NEAR(placement.Paper().x, 35.16f, 0.01f);
    EXPECT_EQ(placement.Paper().h, 240.0f);
    EXPECT_EQ(placement.Paper().y, 0.0f);
    placement.UpdatePaper(kA4Height, kA4Width);
    EXPECT_EQ(placement.Paper().w, 240.0f);
    EXPECT_NEAR(placement.Paper().h, 169.67f, 0.01f);
    EXPECT_NEAR(placement.Paper().y, 35.16f, 0.01f);
    placement.UpdatePaper(0, 100);  // a printer without a page size
    EXPECT_EQ(placement.Paper().w, 240.0f);
    EXPECT_EQ(placement.Paper().h, 240.0f);
}

TEST(PaperPlacement, TheAreaFillsThePaperAsFarAsItsAspectAllowsAndIsCentred) {
    const TPaperPlacement wide = PlacedOnA4({0, 0, 400, 280});
    EXPECT_NEAR(wide.Fit(), 0.424f, 0.001f);  // the width limits
    EXPECT_NEAR(wide.PosX(), 0.0f, 0.001f);
    EXPECT_NEAR(wide.PosY(), 60.6f, 0.05f);
    EXPECT_EQ(wide.Zoom(), 1.0f);
    EXPECT_EQ(wide.ZoomPosition(), kZoomMaxPosition);

    const TPaperPlacement tall = PlacedOnA4({150, 0, 50, 280});
    EXPECT_NEAR(tall.Fit(), 240.0f / 280.0f, 1e-5f);  // the height limits
    EXPECT_NEAR(tall.PosX(), (169.67f - 50 * 240.0f / 280.0f) / 2, 0.01f);
    EXPECT_NEAR(tall.PosY(), 0.0f, 0.001f);
}

TEST(PaperPlacement, TheAreaPictureIsTheRectangleOfThePreviewWithoutItsLastColumnAndRow) {
    TBitmap preview = SolidPreview(kWhite);
    TCanvas canvas(&preview);
    canvas.SetBrushColor(kBlack);
    canvas.FillRect({100, 50, 150, 80});
    TPaperPlacement placement;
    placement.TakeArea(preview, {100, 50, 50, 30});
    const TBitmap& area = placement.AreaPicture();
    ASSERT_EQ(area.Width(), 50);
    ASSERT_EQ(area.Height(), 30);
    EXPECT_EQ(PixelAt(area, 0, 0), kBlack);
    EXPECT_EQ(PixelAt(area, 48, 28), kBlack);
    EXPECT_EQ(PixelAt(area, 49, 10), kWhite);
    EXPECT_EQ(PixelAt(area, 10, 29), kWhite);
}

TEST(PaperPlacement, ThePreviewShowsThePictureOnThePaperAndBlackAroundIt) {
    const COLORREF ink = MakeColor(0, 128, 255);
    TPaperPlacement placement = PlacedOnA4({0, 0, 400, 280}, ink);
    const TBitmap& preview = placement.Preview();
    // The picture (169 x 118) from (35, 60), framed in black.
    EXPECT_EQ(PixelAt(preview, 120, 120), ink);
    EXPECT_EQ(PixelAt(preview, 120, 60), kBlack);
    EXPECT_EQ(PixelAt(preview, 120, 40), kWhite);  // paper above the picture
    EXPECT_EQ(PixelAt(preview, 20, 120), kBlack);  // outside the paper
    EXPECT_EQ(PixelAt(preview, 220, 120), kBlack);
    // The placed picture is the area averaged down: one colour stays one.
    const TBitmap& placed = placement.PlacedPicture();
    EXPECT_EQ(placed.Width(), 169);
    EXPECT_EQ(placed.Height(), 118);
    EXPECT_EQ(PixelAt(placed, 84, 59), ink);

    // Dragged half off the paper: the part beyond it is black.
    placement.MouseDown(120, 120);
    placement.MouseMove(220, 120);
    EXPECT_EQ(PixelAt(preview, 210, 120), kBlack);
    EXPECT_EQ(PixelAt(preview, 150, 120), ink);
}

TEST(PaperPlacement, APressOutsideThePictureCentresItThereAndAPressInsideOnlyGrabsIt) {
    TPaperPlacement placement = PlacedOnA4({0, 0, 400, 280});
    const float y = placement.PosY();
    placement.MouseDown(100, 120);  // inside
    EXPECT_EQ(placement.PosY(), y);
    placement.MouseUp();

    placement.MouseDown(100, 20);  // above the picture, on the paper
    const int ax = int(100 - placement.Paper().x);
    EXPECT_EQ(placement.PosX(), float(ax - 169 / 2));
    EXPECT_EQ(placement.PosY(), float(20 - 118 / 2));
    // The drag then moves it with the mouse, within -w ... 240.
    placement.MouseMove(110, 25);
    EXPECT_EQ(placement.PosX(), float(ax - 84 + 10));
    EXPECT_EQ(placement.PosY(), float(20 - 59 + 5));
    placement.MouseMove(-900, 900);
    EXPECT_EQ(placement.PosX(), -placement.PlacedWidth());
    EXPECT_EQ(placement.PosY(), 240.0f);
    placement.MouseMove(900, -900);
    EXPECT_EQ(placement.PosX(), 240.0f);
    EXPECT_EQ(placement.PosY(), -placement.PlacedHeight());
    placement.MouseUp();
    placement.MouseMove(0, 0);
    EXPECT_EQ(placement.PosX(), 240.0f);
}

TEST(PaperPlacement, Zoom10HalvesThePictureFromItsCornerAndResetRestoresIt) {
    TPaperPlacement placement = PlacedOnA4({0, 0, 400, 280});
    const float x = placement.PosX(), y = placement.PosY(), w = placement.PlacedWidth();
    placement.SetZoomPosition(10);
    EXPECT_FLOAT_EQ(placement.Zoom(), 0.5f);
    EXPECT_FLOAT_EQ(placement.PlacedWidth(), w / 2);
    EXPECT_EQ(placement.PlacedPicture().Width(), int(w / 2));
    EXPECT_EQ(placement.PosX(), x);
    EXPECT_EQ(placement.PosY(), y);
    placement.Nudge(3, -2);
    placement.ResetPlacement();
    EXPECT_EQ(placement.ZoomPosition(), kZoomMaxPosition);
    EXPECT_EQ(placement.Zoom(), 1.0f);
    EXPECT_EQ(placement.PosX(), x);
    EXPECT_EQ(placement.PosY(), y);
}

TEST(PaperPlacement, ThePositionButtonsSendThePictureToASideACornerOrTheCentre) {
    TPaperPlacement placement = PlacedOnA4({0, 0, 200, 280});
    placement.SetZoomPosition(10);
    const float right = placement.Paper().w - placement.PlacedWidth();
    const float bottom = placement.Paper().h - placement.PlacedHeight();
    const struct {
        int tag;
        float x, y;
    } cases[] = {
        {kPlaceTopLeft, 0, 0},
        {kPlaceRight, right, 0},
        {kPlaceBottom, right, bottom},
        {kPlaceLeft, 0, bottom},
        {kPlaceTop, 0, 0},
        {kPlaceBottomRight, right, bottom},
        {kPlaceTopRight, right, 0},
        {kPlaceBottomLeft, 0, bottom},
        {kPlaceCentre, right / 2, bottom / 2},
    };
    for (const auto& c : cases) {
        placement.PlaceAt(c.tag);
        EXPECT_FLOAT_EQ(placement.PosX(), c.x) << c.tag;
        EXPECT_FLOAT_EQ(placement.PosY(), c.y) << c.tag;
    }
    placement.Nudge(1, -1);
    EXPECT_FLOAT_EQ(placement.PosX(), right / 2 + 1);
    EXPECT_FLOAT_EQ(placement.PosY(), bottom / 2 - 1);
}

TEST(PaperPlacement, APictureShrunkBelowOnePixelIsNotDrawn) {
    TPaperPlacement placement;
    placement.UpdatePaper(kA4Width, kA4Height);
    placement.TakeArea(SolidPreview(kBlack), {0, 0, 400, 3});  // one line of ink
    placement.ResetPlacement();
    placement.SetZoomPosition(kZoomMinPosition);
    EXPECT_LT(placement.PlacedHeight(), 1.0f);
    EXPECT_TRUE(placement.PlacedPicture().Empty());
    placement.MouseDown(120, 120);
    EXPECT_EQ(placement.Preview().Width(), kPositionPreviewSize);
}

}  // namespace
}  // namespace quil
