// The print road's geometry: the print resolution, the placed background,
// the tiles and the grid, worked out by hand from the rules for small
// pages whose numbers come out whole.

#include <gtest/gtest.h>

#include <cmath>

#include "player/page_geometry.h"

namespace quil {
namespace {

TEST(PrintGeometry, TheAreaGetsThePixelsOfTheWholePageAtTheScale) {
    struct Case {
        TSize page;
        TRect area;
        float scale;
        float o;
        int left, top, width, height, pageWidth, pageHeight;
    };
    const Case cases[] = {
        // The whole page at 1.0: one pixel a page unit.
        {{1022, 718}, {0, 0, 1022, 718}, 1.0f, 1.0f, 0, 0, 1022, 718, 1022, 718},
        // Ultra doubles it.
        {{1022, 718}, {0, 0, 1022, 718}, 2.0f, 2.0f, 0, 0, 2044, 1436, 2044, 1436},
        // A quarter of the page at 1.0 doubles o: as many pixels as the page.
        {{200, 100}, {20, 10, 120, 60}, 1.0f, 2.0f, 40, 20, 200, 100, 400, 200},
        // High: 1.5 page units a pixel.
        {{300, 200}, {0, 0, 300, 200}, 1.5f, 1.5f, 0, 0, 450, 300, 450, 300},
    };
    for (const Case& c : cases) {
        TPrintScale p;
        ASSERT_TRUE(PrintScaleOf(c.page, c.area, c.scale, p));
        EXPECT_EQ(p.o, c.o);
        EXPECT_EQ(p.left, c.left);
        EXPECT_EQ(p.top, c.top);
        EXPECT_EQ(p.width, c.width);
        EXPECT_EQ(p.height, c.height);
        EXPECT_EQ(p.pageWidth, c.pageWidth);
        EXPECT_EQ(p.pageHeight, c.pageHeight);
        EXPECT_EQ(p.CornerX(), 4 * c.left);
        // The renderer's work surface is four times the area at o.
        EXPECT_EQ(p.samplesPerUnit, 4.0f * c.pageWidth / c.page.width);
    }
}

TEST(PrintGeometry, AnAreaOrScaleWithoutPixelsIsRefused) {
    const TSize page{200, 100};
    const struct {
        TRect area;
        float scale;
    } cases[] = {{{10, 10, 10, 50}, 1.0f},  {{10, 10, 50, 10}, 1.0f},  {{50, 10, 10, 50}, 1.0f},
                 {{0, 0, 200, 100}, 0.0f},  {{0, 0, 200, 100}, -1.0f}, {{0, 0, 200, 100}, NAN},
                 {{0, 0, 200, 100}, 0.001f}};
    for (const auto& c : cases) {
        TPrintScale p;
        EXPECT_FALSE(PrintScaleOf(page, c.area, c.scale, p));
    }
    TPrintScale p;
    EXPECT_FALSE(PrintScaleOf({0, 100}, {0, 0, 10, 10}, 1.0f, p));
}

// Page 200 x 100, area (20, 10, 120, 60) at 1.0: o = 2, W1 x H1 = 400 x
// 200, P = 8, the corner at (160, 80) samples.
TEST(PrintGeometry, APlacedBackgroundIsItsPageRectangleInSamplesLessTheCorner) {
    TPrintScale p;
    ASSERT_TRUE(PrintScaleOf({200, 100}, {20, 10, 120, 60}, 1.0f, p));
    const TSize page{200, 100}, picture{40, 25};
    const struct {
        int32_t placement;
        TRect rect;
    } cases[] = {
        // k = 100 / 25 (taller than the page at o): 160 x 100 units from (20, 0).
        {0, {0, -80, 1280, 720}},
        // The whole page at o.
        {1, {-160, -80, 1440, 720}},
        // Natural size from ((200 - 40) >> 1, (100 - 25) >> 1) = (80, 37).
        {2, {480, 216, 800, 416}},
        // Natural size at the page's corner.
        {7, {-160, -80, 160, 120}},
    };
    for (const auto& c : cases) {
        const TRect r = PrintPlacedRect(c.placement, page, picture, p);
        EXPECT_EQ(r.left, c.rect.left) << c.placement;
        EXPECT_EQ(r.top, c.rect.top) << c.placement;
        EXPECT_EQ(r.right, c.rect.right) << c.placement;
        EXPECT_EQ(r.bottom, c.rect.bottom) << c.placement;
    }
    // Tiles of 40 x 25 units at P, from the area's corner over the page at o.
    const TTiling t = PrintTiling(picture, p);
    EXPECT_EQ(t.tileWidth, 320);
    EXPECT_EQ(t.tileHeight, 200);
    EXPECT_EQ(t.originX, 0);
    EXPECT_EQ(t.originY, 0);
    EXPECT_EQ(t.spanWidth, 1600);
    EXPECT_EQ(t.spanHeight, 800);
}

TEST(PrintGeometry, TheGridScalesByWholeUnitsOfThePageAtO) {
    TGridParams grid;
    grid.cellWidth = grid.cellHeight = 25;
    grid.originX = 5;
    grid.originY = 3;
    grid.columns = 7;
    grid.rows = 3;
    TPrintScale p;
    ASSERT_TRUE(PrintScaleOf({200, 100}, {20, 10, 120, 60}, 1.0f, p));
    TGridLines lines;
    SetUpPrintGrid(lines, grid, p);
    // Cells of 25 * 400 / 200 = 50, origin (10, 6), less the corner.
    EXPECT_EQ(lines.columnAt(0), 10 * 4 - 160);
    EXPECT_EQ(lines.columnAt(1), 60 * 4 - 160);
    EXPECT_EQ(lines.rowAt(3), 156 * 4 - 80);
    EXPECT_EQ(lines.top, 6 * 4 - 80);
    EXPECT_EQ(lines.bottom, 156 * 4 - 80);
    EXPECT_EQ(lines.left, -120);
    EXPECT_EQ(lines.right, 360 * 4 - 160);
    EXPECT_EQ(lines.majorWidth, 8);  // r = 4 o
    EXPECT_EQ(lines.minorWidth, 8);
    EXPECT_FALSE(lines.swapRanges);

    // With subdivisions the major lines are three times as wide; at 1.5 the
    // integer scaling drops the half units: 25 * 450 / 300 = 37.
    grid.subdivisionsX = 2;
    ASSERT_TRUE(PrintScaleOf({300, 200}, {0, 0, 300, 200}, 1.5f, p));
    SetUpPrintGrid(lines, grid, p);
    EXPECT_EQ(lines.majorWidth, 18);
    EXPECT_EQ(lines.minorWidth, 6);
    EXPECT_EQ(lines.columnAt(1), (37 + 7) * 4);
    EXPECT_EQ(lines.rowAt(1), (37 + 4) * 4);
    EXPECT_EQ(lines.stepX, 37 * 4 / 2.0f);
}

}  // namespace
}  // namespace quil
