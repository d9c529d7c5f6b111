// Off-screen rendering: its own Best renderer, the page at the current
// position, its scale, margins and background layer.

#include <gtest/gtest.h>

#include "player_fixture.h"

namespace quil::test {
namespace {

using fixture::TRecordingWriter;
using testing::PixelAt;

class RenderToBitmap : public ::testing::Test {
protected:
    TTestFolder folder;
    std::filesystem::path SmallPage(bool grid = false) {
        fixture::Header h = FloatHeader();
        h.pageWidth = 200;
        h.pageHeight = 150;
        if (grid) h.gridCellSize = Pack(20, 20);
        TRecordingWriter w(h);
        WriteMixedPage(w);
        return WriteRecording(folder, "small.stk", w);
    }
};

// At page size with stretch the off-screen picture is the screen's Best
// page at zoom 1: two renderers, two element loops, one result.
TEST_F(RenderToBitmap, PageSizeStretchEqualsTheBestScreenPage) {
    TPlayerRig rig(2, 200, 150);
    ASSERT_EQ(rig.Open(SmallPage()), 0);
    for (int position : {rig.player->ElementCount(), 3}) {
        rig.player->GoTo(position, false);
        TBitmap picture;
        picture.Create(200, 150, 24, 0x00);
        ASSERT_EQ(rig.player->RenderToBitmap(picture, true), 1);
        EXPECT_EQ(DifferentPixels(picture, rig.player->Renderer()->DisplayDC()), 0) << position;
    }
}

TEST_F(RenderToBitmap, ReverseAndPenMarkerDoNotReachTheExport) {
    TPlayerRig rig(0, 200, 150);
    ASSERT_EQ(rig.Open(SmallPage()), 0);
    TBitmap before;
    before.Create(200, 150);
    rig.player->RenderToBitmap(before, true);
    rig.player->SetReverse(true);
    TBitmap after;
    after.Create(200, 150);
    rig.player->RenderToBitmap(after, true);
    EXPECT_TRUE(SamePixels(before, after));
    EXPECT_EQ(PixelAt(after, 199, 149), kWhite);
}

TEST_F(RenderToBitmap, AStrokeBeingReplayedIsLeftOut) {
    TPlayerRig rig(2, 200, 150);
    ASSERT_EQ(rig.Open(SmallPage()), 0);
    rig.player->SetReplayStep(2);
    rig.player->Play();
    rig.TickUntil([&] { return rig.player->Position() == 4; });
    rig.ReplayTimer().Tick();
    rig.player->Pause();
    ASSERT_TRUE(rig.player->StrokeInProgress());
    TBitmap during;
    during.Create(200, 150);
    ASSERT_EQ(rig.player->RenderToBitmap(during, true), 1);
    // The cursor and position are left as they were.
    EXPECT_TRUE(rig.player->StrokeInProgress());
    EXPECT_EQ(rig.player->Position(), 4);
    TPlayerRig other(2, 200, 150);
    ASSERT_EQ(other.Open(SmallPage()), 0);
    other.player->GoTo(3, false);
    TBitmap three;
    three.Create(200, 150);
    other.player->RenderToBitmap(three, true);
    EXPECT_TRUE(SamePixels(during, three));
}

TEST_F(RenderToBitmap, WithoutStretchThePageIsCentredBetweenEqualMargins) {
    TPlayerRig rig(2, 200, 150);
    ASSERT_EQ(rig.Open(SmallPage()), 0);
    TBitmap wide;
    wide.Create(400, 150, 24, 0x00);
    ASSERT_EQ(rig.player->RenderToBitmap(wide, false), 1);
    // Page 200 x 150 into 400 x 150: scale 1, offsets 100 and 0. The page
    // at scale 1 is the stretched page-size rendering, shifted.
    TBitmap page;
    page.Create(200, 150);
    rig.player->RenderToBitmap(page, true);
    int differ = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x)
            differ += PixelAt(wide, 100 + x, y) != PixelAt(page, x, y);
    EXPECT_EQ(differ, 0);
    for (int y = 0; y < 150; ++y) {
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(PixelAt(wide, x, y), kWhite);
        for (int x = 300; x < 400; ++x)
            ASSERT_EQ(PixelAt(wide, x, y), kWhite);
    }
}

// Off screen the layer restored under an eraser holds the grid too.
TEST_F(RenderToBitmap, OffScreenAnEraserKeepsTheGridUnderIt) {
    fixture::Header h = FloatHeader();
    h.pageWidth = 200;
    h.pageHeight = 150;
    h.gridCellSize = Pack(20, 20);
    TRecordingWriter w(h);
    w.Stroke(Line(10, 190, 40, 30, 3.0), {.color = 0xFF0000});
    w.Stroke(Line(10, 190, 40, 30, 6.0), {.eraser = 1});
    TPlayerRig rig(2, 200, 150);
    ASSERT_EQ(rig.Open(WriteRecording(folder, "erase.stk", w)), 0);
    TBitmap picture;
    picture.Create(200, 150);
    ASSERT_EQ(rig.player->RenderToBitmap(picture, true), 1);
    EXPECT_TRUE(Near(PixelAt(picture, 100, 42), PixelAt(picture, 100, 110)));
    EXPECT_FALSE(Near(PixelAt(picture, 100, 42), kWhite, 8));
    EXPECT_TRUE(Near(PixelAt(picture, 110, 42), kWhite));
    // On screen the same eraser wiped the grid line.
    EXPECT_TRUE(Near(PixelAt(rig.player->Renderer()->DisplayDC(), 100, 42), kWhite));
}

TEST_F(RenderToBitmap, ProgressEventsForLongPagesAndRefusalsForBadTargets) {
    TRecordingWriter w(FloatHeader());
    for (int i = 0; i < 33; ++i)
        w.Stroke(Line(10, 150, 5.0 + 3 * i, 4, 1.5));
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(WriteRecording(folder, "long.stk", w)), 0);
    rig.host.events.clear();
    TBitmap picture;
    picture.Create(100, 70);
    ASSERT_EQ(rig.player->RenderToBitmap(picture, true), 1);
    const std::vector<std::pair<int, int>> expected = {
        {kEventBusyStart, 33}, {kEventProgress, 16}, {kEventProgress, 32}, {kEventBusyEnd, 0}};
    EXPECT_EQ(rig.host.events, expected);
    TBitmap grey;
    grey.Create(10, 10, 8);
    EXPECT_EQ(rig.player->RenderToBitmap(grey, true), 0);
    TBitmap empty;
    EXPECT_EQ(rig.player->RenderToBitmap(empty, true), 0);
}

// Subdivision counts of 0 and 1 draw the same thin grid; 2 draws thick
// major lines and a minor line in the middle of every cell.
TEST_F(RenderToBitmap, OffScreenGridLinesAndSubdivisions) {
    auto render = [&](uint32_t subdivisions) {
        fixture::Header h = FloatHeader();
        h.pageWidth = 200;
        h.pageHeight = 150;
        h.gridCellSize = Pack(20, 20);
        h.gridSubdivisions = subdivisions;
        TRecordingWriter w(h);
        TPlayerRig rig(2, 200, 150);
        EXPECT_EQ(rig.Open(WriteRecording(folder, "grid.stk", w)), 0);
        TBitmap picture;
        picture.Create(200, 150);
        EXPECT_EQ(rig.player->RenderToBitmap(picture, true), 1);
        return picture;
    };
    auto inked = [](const TBitmap& b, int x0, int x1, int y) {
        int n = 0;
        for (int x = x0; x < x1; ++x)
            n += PixelAt(b, x, y) != kWhite;
        return n;
    };
    const TBitmap none = render(0), one = render(Pack(1, 1)), two = render(Pack(2, 2));
    EXPECT_TRUE(SamePixels(none, one));
    // Thin: 4 work samples, one display pixel's worth across x = 100.
    EXPECT_GE(inked(none, 95, 105, 55), 1);
    EXPECT_LE(inked(none, 95, 105, 55), 2);
    EXPECT_EQ(inked(none, 105, 115, 55), 0);
    // Thick: 12 work samples; a minor line at x = 110.
    EXPECT_GE(inked(two, 95, 105, 55), 3);
    EXPECT_GE(inked(two, 105, 115, 55), 1);
}

}  // namespace
}  // namespace quil::test
