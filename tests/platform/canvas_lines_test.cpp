#include <gtest/gtest.h>

#include <cmath>

#include "canvas_test_support.h"
#include "platform/canvas.h"

namespace quil {
namespace {

int CountInked(const TBitmap& pic) {
    int n = 0;
    for (int y = 0; y < pic.Height(); ++y)
        for (int x = 0; x < pic.Width(); ++x)
            n += pic.ScanLine(y)[x] == 0;
    return n;
}

TEST(CanvasLines, OnePixelLineExcludesItsEndPoint) {
    struct Case {
        int x0, y0, x1, y1;
    } cases[] = {{0, 0, 10, 5}, {10, 5, 0, 0}, {3, 3, 3, 17}, {19, 2, 1, 2}, {4, 4, 4, 4}};
    for (const Case& c : cases) {
        TBitmap pic;
        ASSERT_TRUE(pic.Create(20, 20, 8, 255));
        TCanvas canvas(&pic);
        canvas.MoveTo(c.x0, c.y0);
        canvas.LineTo(c.x1, c.y1);
        const int steps = std::max(std::abs(c.x1 - c.x0), std::abs(c.y1 - c.y0));
        EXPECT_EQ(CountInked(pic), steps);
        EXPECT_EQ(pic.ScanLine(c.y1)[c.x1], 255);
        if (steps > 0) {
            EXPECT_EQ(pic.ScanLine(c.y0)[c.x0], 0);
        }
    }
}

TEST(CanvasLines, ContinuesFromTheCurrentPositionWithoutGapsOrDoubles) {
    TBitmap pic;
    ASSERT_TRUE(pic.Create(30, 30, 8, 255));
    TCanvas canvas(&pic);
    canvas.SetPenMode(TPenMode::NotXor);
    canvas.MoveTo(2, 2);
    canvas.LineTo(20, 2);
    canvas.LineTo(20, 25);
    canvas.LineTo(2, 2);
    // A closed path: each corner is drawn once, by the segment that starts there.
    EXPECT_EQ(pic.ScanLine(2)[20], 0);
    EXPECT_EQ(pic.ScanLine(2)[2], 0);
    EXPECT_EQ(CountInked(pic), 18 + 23 + 23);
}

TEST(CanvasLines, HugeLinesAreCutToThePicture) {
    TBitmap pic;
    ASSERT_TRUE(pic.Create(20, 20, 8, 255));
    TCanvas canvas(&pic);
    canvas.MoveTo(-2000000000, 10);
    canvas.LineTo(2000000000, 10);  // would take 4e9 steps uncut
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(pic.ScanLine(10)[x], 0);
    EXPECT_EQ(CountInked(pic), 20);
    canvas.SetPenWidth(3);
    canvas.MoveTo(5, -2000000000);
    canvas.LineTo(5, 2000000000);
    EXPECT_EQ(pic.ScanLine(0)[6], 0);
}

TEST(CanvasLines, WidePenHasRoundEnds) {
    TBitmap pic;
    ASSERT_TRUE(pic.Create(50, 30, 8, 255));
    TCanvas canvas(&pic);
    canvas.SetPenWidth(5);
    canvas.MoveTo(10, 10);
    canvas.LineTo(30, 10);
    // Radius 2.5 around the centre line through pixel centres.
    EXPECT_EQ(pic.ScanLine(10)[32], 0);
    EXPECT_EQ(pic.ScanLine(10)[33], 255);
    EXPECT_EQ(pic.ScanLine(10)[8], 0);
    EXPECT_EQ(pic.ScanLine(10)[7], 255);
    EXPECT_EQ(pic.ScanLine(12)[20], 0);
    EXPECT_EQ(pic.ScanLine(13)[20], 255);
    EXPECT_EQ(pic.ScanLine(8)[20], 0);
    EXPECT_EQ(pic.ScanLine(7)[20], 255);
    // Round, not square: the corner of the end's bounding square stays clear.
    EXPECT_EQ(pic.ScanLine(12)[32], 255);
}

TEST(CanvasLines, EvenWidthsCoverThatManyRows) {
    for (int w : {2, 4, 6}) {
        TBitmap pic;
        ASSERT_TRUE(pic.Create(40, 40, 8, 255));
        TCanvas canvas(&pic);
        canvas.SetPenWidth(w);
        canvas.MoveTo(5, 20);
        canvas.LineTo(35, 20);
        int rows = 0;
        for (int y = 0; y < 40; ++y)
            rows += pic.ScanLine(y)[20] == 0;
        EXPECT_EQ(rows, w);
    }
}

}  // namespace
}  // namespace quil
