// The area rectangle of the first page: grab zones, drags and their
// limits, "Select All" and "Auto".

#include "print/area_selection.h"

#include <gtest/gtest.h>

namespace quil {

void PrintTo(const TAreaRect& r, std::ostream* out) {
    *out << "(" << r.left << ", " << r.top << ", " << r.width << " x " << r.height << ")";
}

namespace {

// Presses at a point of the panel and drags to another, as the rectangle
// would see it: every position relative to its own corner at that moment.
TAreaRect Drag(TAreaRect start, int fromX, int fromY, int toX, int toY) {
    TAreaSelection selection;
    selection.SetRect(start);
    selection.MouseDown(fromX - start.left, fromY - start.top);
    // In steps, as a mouse moves.
    for (int i = 1; i <= 4; ++i) {
        const TAreaRect& r = selection.Rect();
        selection.MouseMove(fromX + (toX - fromX) * i / 4 - r.left,
                            fromY + (toY - fromY) * i / 4 - r.top);
    }
    selection.MouseUp();
    return selection.Rect();
}

TEST(AreaSelection, TheBorderOfFivePixelsHoldsEdgesAndCorners) {
    TAreaSelection selection;
    selection.SetRect({50, 40, 100, 80});
    const struct {
        int x, y;
        TGrabZone zone;
        TGrabCursor cursor;
    } cases[] = {
        {0, 0, kGrabTopLeft, TGrabCursor::SizeNWSE},
        {4, 79, kGrabBottomLeft, TGrabCursor::SizeNESW},
        {4, 40, kGrabLeft, TGrabCursor::SizeWE},
        {5, 40, kGrabMove, TGrabCursor::SizeAll},
        {99, 4, kGrabTopRight, TGrabCursor::SizeNESW},
        {95, 75, kGrabBottomRight, TGrabCursor::SizeNWSE},
        {95, 40, kGrabRight, TGrabCursor::SizeWE},
        {94, 74, kGrabMove, TGrabCursor::SizeAll},
        {50, 4, kGrabTop, TGrabCursor::SizeNS},
        {50, 5, kGrabMove, TGrabCursor::SizeAll},
        {50, 75, kGrabBottom, TGrabCursor::SizeNS},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(selection.ZoneAt(c.x, c.y), c.zone) << c.x << ", " << c.y;
        EXPECT_EQ(TAreaSelection::CursorFor(c.zone), c.cursor) << c.x << ", " << c.y;
        selection.MouseDown(c.x, c.y);
        EXPECT_EQ(selection.Zone(), c.zone);
        selection.MouseUp();
    }
}

TEST(AreaSelection, DragsStopAtTheMinimumSizeAndAtThePanel) {
    const TAreaRect start{100, 60, 100, 80};
    const struct {
        const char* what;
        int fromX, fromY, toX, toY;
        TAreaRect expected;
    } cases[] = {
        {"left edge right: the right edge stays", 101, 100, 150, 100, {149, 60, 51, 80}},
        {"left edge far right: stops at 20", 101, 100, 380, 100, {180, 60, 20, 80}},
        {"left edge beyond the panel: stops at 0", 101, 100, -50, 100, {0, 60, 200, 80}},
        {"right edge far left: stops at 20", 198, 100, 0, 100, {100, 60, 20, 80}},
        {"right edge beyond the panel", 198, 100, 600, 100, {100, 60, 300, 80}},
        {"top edge down past the bottom", 150, 61, 150, 270, {100, 120, 100, 20}},
        {"top edge beyond the panel", 150, 61, 150, -40, {100, 0, 100, 140}},
        {"bottom edge beyond the panel", 150, 138, 150, 900, {100, 60, 100, 220}},
        {"bottom-right corner", 198, 138, 230, 150, {100, 60, 132, 92}},
        {"top-left corner up and left", 101, 61, 81, 31, {80, 30, 120, 110}},
        {"move beyond the left: the width stays", 150, 100, -100, 100, {0, 60, 100, 80}},
        {"move beyond the bottom right", 150, 100, 800, 800, {300, 200, 100, 80}},
        {"move", 150, 100, 170, 90, {120, 50, 100, 80}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Drag(start, c.fromX, c.fromY, c.toX, c.toY), c.expected) << c.what;
}

TEST(AreaSelection, AMoveWithoutAPressDoesNothing) {
    TAreaSelection selection;
    selection.SetRect({10, 10, 50, 50});
    selection.MouseMove(30, 30);
    selection.MouseDown(25, 25);
    selection.MouseUp();
    selection.MouseMove(40, 40);
    EXPECT_EQ(selection.Rect(), (TAreaRect{10, 10, 50, 50}));
}

TBitmap WhitePreview() {
    TBitmap preview;
    preview.Create(kAreaPreviewWidth, kAreaPreviewHeight);
    return preview;
}

void Dot(TBitmap& picture, int x, int y, uint8_t blue = 0xFE) { picture.ScanLine(y)[3 * x] = blue; }

TEST(AreaSelection, AutoBoxesEveryPixelThatIsNotPureWhite) {
    TAreaSelection selection;
    selection.SetRect({10, 10, 50, 50});
    TBitmap preview = WhitePreview();
    selection.Auto(preview);
    EXPECT_EQ(selection.Rect(), TAreaRect{}) << "an empty page selects the whole preview";

    Dot(preview, 100, 50);
    selection.Auto(preview);
    EXPECT_EQ(selection.Rect(), (TAreaRect{98, 48, 5, 5}));

    Dot(preview, 399, 279, 0);
    Dot(preview, 0, 200, 0);
    selection.Auto(preview);
    EXPECT_EQ(selection.Rect(), (TAreaRect{0, 48, 400, 232}));

    selection.SelectAll();
    EXPECT_EQ(selection.Rect(), TAreaRect{});
}

}  // namespace
}  // namespace quil
