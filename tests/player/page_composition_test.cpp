// The page picture (paper, background, grid), the stamp and stroke rules,
// ShrinkImage24 and the grid words.

#include <gtest/gtest.h>

#include "player/grid_params.h"
#include "player/shrink_image.h"
#include "player_fixture.h"

namespace quil::test {
namespace {

using fixture::TRecordingWriter;
using testing::PixelAt;

constexpr uint32_t kGrid = MakeColor(255, 189, 189);

TEST(GridParams, UnpackingWithItsAdjustments) {
    struct Case {
        const char* what;
        uint32_t cellSize, origin, cells, subdivisions;
        bool ok;
        TGridParams expected;
    };
    const Case cases[] = {
        {"width 0 takes the height; columns cover 1022",
         Pack(0, 20),
         0,
         0,
         0,
         true,
         {20, 20, 52, 36, 0, 0, 0, 0}},
        {"height 0 takes the width",
         Pack(30, 0),
         Pack(5, 6),
         Pack(3, 4),
         Pack(2, 3),
         true,
         {30, 30, 3, 4, 5, 6, 2, 3}},
        {"high halves are signed",
         Pack(10, -10),
         Pack(1, -5),
         Pack(2, -2),
         Pack(0, -1),
         true,
         {10, -10, 2, -2, 1, -5, 0, -1}},
        {"no grid", 0, 0, 0, 0, false, {}},
    };
    for (const Case& c : cases) {
        TGridParams g;
        EXPECT_EQ(UnpackGrid(c.cellSize, c.origin, c.cells, c.subdivisions, g), c.ok) << c.what;
        if (!c.ok) continue;
        EXPECT_EQ(g.cellWidth, c.expected.cellWidth) << c.what;
        EXPECT_EQ(g.cellHeight, c.expected.cellHeight) << c.what;
        EXPECT_EQ(g.columns, c.expected.columns) << c.what;
        EXPECT_EQ(g.rows, c.expected.rows) << c.what;
        EXPECT_EQ(g.originX, c.expected.originX) << c.what;
        EXPECT_EQ(g.originY, c.expected.originY) << c.what;
        EXPECT_EQ(g.subdivisionsX, c.expected.subdivisionsX) << c.what;
        EXPECT_EQ(g.subdivisionsY, c.expected.subdivisionsY) << c.what;
    }
}

TBitmap Numbered(int w, int h) {
    TBitmap b;
    b.Create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = b.ScanLine(y) + 3 * x;
            p[0] = uint8_t(x);
            p[1] = uint8_t(y);
            p[2] = 7;
        }
    return b;
}

TEST(ShrinkImage, BottomRowsCorrespondAndPartsAgreeWithTheWhole) {
    const TBitmap src = Numbered(13, 11);
    EXPECT_EQ(ShrinkImage24(src.Bits(), 13, 11, nullptr, 0, 5), 1);
    TBitmap dst;
    dst.Create(7, 4);
    EXPECT_EQ(ShrinkImage24(src.Bits(), 13, 11, dst.Bits(), 7, 4), 0);
    // Bottom row of both: source row 10 from the top.
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(dst.ScanLine(3)[3 * x + 1], 10);
    EXPECT_EQ(dst.ScanLine(3)[3 * 6], int(float(13.0 / 7 * 6)));
    // The top destination row samples trunc(3 * 11 / 4) = 8 rows up from the bottom.
    EXPECT_EQ(dst.ScanLine(0)[1], 10 - 8);
    TBitmap part;
    part.Create(3, 2);
    ShrinkImage24Part(src, 7, 4, 2, 1, part);
    for (int j = 0; j < 2; ++j)
        for (int k = 0; k < 3; ++k)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(part.ScanLine(j)[3 * k + c], dst.ScanLine(1 + j)[3 * (2 + k) + c]);
}

class Composition : public ::testing::Test {
protected:
    TTestFolder folder;
};

// On screen the grid is not part of the layer the renderer restores under
// an eraser: the eraser wipes grid lines to the background (here white).
TEST_F(Composition, OnScreenAnEraserWipesTheGridButRestoresTheBackground) {
    fixture::Header h = FloatHeader();
    h.gridCellSize = Pack(20, 20);
    TRecordingWriter w(h);
    w.Background(2, 3, fixture::EncodeBmp(fixture::SolidPicture(60, 200, 0x00FFFF)));
    w.Stroke(Line(10, 190, 40, 30, 3.0), {.color = 0xFF0000});
    w.Stroke(Line(10, 190, 40, 30, 6.0), {.eraser = 1});
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(WriteRecording(folder, "erase.stk", w)), 0);
    ASSERT_TRUE(rig.player->HasGrid());
    ASSERT_TRUE(rig.player->HasBackground());
    const TBitmap& d = rig.player->Renderer()->DisplayDC();
    EXPECT_TRUE(Near(PixelAt(d, 100, 41), kWhite));                 // grid line x = 100 wiped
    EXPECT_EQ(PixelAt(d, 100, 100), kGrid);                         // untouched grid
    EXPECT_TRUE(Near(PixelAt(d, 10, 41), MakeColor(255, 255, 0)));  // background back
    // Replayed live, the eraser restores the same layer.
    rig.player->Play();
    rig.TickUntil([&] { return rig.player->PlayState() == 0; });
    EXPECT_TRUE(Near(PixelAt(d, 100, 41), kWhite));
    EXPECT_TRUE(Near(PixelAt(d, 10, 41), MakeColor(255, 255, 0)));
}

TEST_F(Composition, GridOffWithAPartialBackgroundLeavesNoGridLines) {
    fixture::Header h = FloatHeader();
    h.gridCellSize = Pack(10, 10);
    h.gridSubdivisions = Pack(2, 2);
    TRecordingWriter w(h);
    w.Background(2, 2, fixture::EncodeBmp(fixture::SolidPicture(40, 30, 0x00FF00)));
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(WriteRecording(folder, "grid.stk", w)), 0);
    int gridPixels = 0;
    const TBitmap& d = rig.player->Renderer()->DisplayDC();
    for (int y = 0; y < d.Height(); ++y)
        for (int x = 0; x < d.Width(); ++x)
            gridPixels += PixelAt(d, x, y) == kGrid;
    EXPECT_GT(gridPixels, 1000);
    rig.player->SetGrid(false);
    gridPixels = 0;
    for (int y = 0; y < d.Height(); ++y)
        for (int x = 0; x < d.Width(); ++x)
            gridPixels += PixelAt(d, x, y) == kGrid;
    EXPECT_EQ(gridPixels, 0);
}

TEST_F(Composition, ScreenGridWidthsAndMinorLines) {
    struct Case {
        uint32_t subdivisions;
        int majorWidth;  // pixels of grid colour across a major line
        bool minorAtFive;
    };
    for (const Case& c :
         {Case{0, 1, false}, Case{Pack(1, 1), 1, false}, Case{Pack(2, 0), 3, true}}) {
        fixture::Header h = FloatHeader();
        h.gridCellSize = Pack(10, 10);
        h.gridOrigin = Pack(20, 20);
        h.gridCells = Pack(4, 4);
        h.gridSubdivisions = c.subdivisions;
        TRecordingWriter w(h);
        TPlayerRig rig;
        ASSERT_EQ(rig.Open(WriteRecording(folder, "g.stk", w)), 0);
        const TBitmap& page = rig.player->PagePicture();
        int across = 0;
        for (int x = 15; x < 25; ++x)
            across += PixelAt(page, x, 33) == kGrid;
        EXPECT_EQ(across, c.majorWidth) << c.subdivisions;
        EXPECT_EQ(PixelAt(page, 25, 33) == kGrid, c.minorAtFive) << c.subdivisions;
        // Nothing beyond the last column and row.
        EXPECT_EQ(PixelAt(page, 63, 33), kWhite);
        EXPECT_EQ(PixelAt(page, 33, 63), kWhite);
    }
}

TEST_F(Composition, HugeGridWordsDrawWithoutRunningAway) {
    fixture::Header h = FloatHeader();
    h.gridCellSize = Pack(1, 1);
    h.gridCells = Pack(65535, 32767);
    h.gridSubdivisions = Pack(65535, 32767);
    TRecordingWriter w(h);
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(WriteRecording(folder, "huge.stk", w)), 0);
    EXPECT_EQ(PixelAt(rig.player->PagePicture(), 50, 50), kGrid);
}

TEST_F(Composition, StampWhiteIsTransparentAndReducedStampsKeepTheirBottomRows) {
    fixture::Picture pic = fixture::SolidPicture(8, 40, 0x0000FF);
    for (int x = 0; x < 8; ++x)
        pic.pixels[size_t(39) * 8 + x] = 0x00FF00;  // bottom row green
    for (int y = 10; y < 20; ++y)
        for (int x = 0; x < 8; ++x)
            pic.pixels[size_t(y) * 8 + x] = 0xFFFFFF;
    TRecordingWriter w(FloatHeader());
    // A thin black line under the white band only.
    w.Stroke({{0, 23.5, 1.0}, {200, 23.5, 1.0}}, {.color = 0x000000});
    // 10 units high at zoom 1 and Best: 40 work rows, as many as the picture.
    w.Stamp(50, 20, 8, 10, fixture::EncodeBmp(pic));
    // 2.5 units high: 10 work rows from 40, sampled from the bottom.
    w.Stamp(100, 60, 8, 2.5f, fixture::EncodeBmp(pic));
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(WriteRecording(folder, "stamps.stk", w)), 0);
    const TBitmap& work = rig.player->Renderer()->WorkDC();
    auto workAt = [&](int x, int y) { return PixelAt(work, x, y); };
    EXPECT_EQ(workAt(4 * 52, 4 * 20 + 5), MakeColor(255, 0, 0));
    // The white band lets the black stroke show through.
    EXPECT_EQ(workAt(4 * 52, 4 * 20 + 14), kBlack);
    // Stretch copy: the last row of the scaled picture stays white (transparent).
    EXPECT_EQ(workAt(4 * 52, 4 * 30 - 1), kWhite);
    // Reduced: the bottom row comes from the picture's bottom row.
    EXPECT_EQ(workAt(4 * 102, 4 * 60 + 9), MakeColor(0, 255, 0));
}

// At zoom 1 a tile is 4 x 9 by 4 x 7 work samples: the page repeats every
// 9 and 7 pixels. The tile is stretched from the picture without its last
// column and row, so within a tile the picture is not simply enlarged; its
// top-left pixel is.
TEST_F(Composition, TiledBackgroundRepeatsAtTheTileSize) {
    const fixture::Picture pic = fixture::PatternPicture(9, 7);
    TRecordingWriter w(FloatHeader());
    w.Background(1, 0, fixture::EncodeBmp(pic));
    TPlayerRig rig(2, 200, 150);
    ASSERT_EQ(rig.Open(WriteRecording(folder, "tiles.stk", w)), 0);
    const TBitmap& page = rig.player->PagePicture();
    int differ = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x)
            differ += PixelAt(page, x, y) != PixelAt(page, x % 9, y % 7);
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(PixelAt(page, 0, 0), pic.At(0, 0));
    EXPECT_EQ(PixelAt(page, 18, 14), pic.At(0, 0));
    // Background off: white paper.
    rig.player->SetBackground(false);
    EXPECT_EQ(PixelAt(rig.player->PagePicture(), 5, 5), kWhite);
}

TEST_F(Composition, CentredBackgroundSitsInTheMiddleOfThePage) {
    TRecordingWriter w(FloatHeader());
    w.Background(2, 2, fixture::EncodeBmp(fixture::SolidPicture(40, 30, 0x0000FF)));
    TPlayerRig rig(2, 200, 150);
    ASSERT_EQ(rig.Open(WriteRecording(folder, "centre.stk", w)), 0);
    const TBitmap& page = rig.player->PagePicture();
    // Page 1022 x 718 shown from its corner: the picture starts at (491, 344),
    // outside this 200 x 150 display.
    EXPECT_EQ(PixelAt(page, 199, 149), kWhite);
    rig.player->SetLayout(&rig.window, 200, 150, 0.1f, 0, 0);
    // At zoom 0.1: x0 = trunc(491 * 0.1) = 49, y0 = 34, 4 x 3 pixels.
    EXPECT_EQ(PixelAt(rig.player->PagePicture(), 50, 35), MakeColor(255, 0, 0));
    EXPECT_EQ(PixelAt(rig.player->PagePicture(), 47, 35), kWhite);
    EXPECT_EQ(PixelAt(rig.player->PagePicture(), 50, 39), kWhite);
}

}  // namespace
}  // namespace quil::test
