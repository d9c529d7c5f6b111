#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "canvas_test_support.h"
#include "platform/canvas.h"

namespace quil {
namespace {

using testing::NoisePicture;

void Put(TBitmap& b, int x, int y, uint8_t blue, uint8_t green, uint8_t red) {
    uint8_t* p = b.ScanLine(y) + 3 * x;
    p[0] = blue;
    p[1] = green;
    p[2] = red;
}

const uint8_t* At(const TBitmap& b, int x, int y) { return b.ScanLine(y) + 3 * x; }

TEST(CanvasBitBlt, ClipsAgainstBothPictures) {
    const TBitmap src = NoisePicture(10, 8, 24, 5);
    struct Case {
        int dx, dy, w, h, sx, sy;
    } cases[] = {{0, 0, 10, 8, 0, 0},   {-3, -2, 10, 8, 0, 0},  {5, 4, 10, 8, 0, 0},
                 {0, 0, 10, 8, -4, -1}, {2, 1, 100, 100, 3, 2}, {0, 0, 5, 5, 20, 20}};
    for (const Case& c : cases) {
        TBitmap dst;
        ASSERT_TRUE(dst.Create(12, 9, 24, 0x5A));
        TCanvas(&dst).BitBlt(c.dx, c.dy, c.w, c.h, src, c.sx, c.sy);
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 12; ++x) {
                const int sx = x - c.dx + c.sx, sy = y - c.dy + c.sy;
                const bool copied = x >= c.dx && x < c.dx + c.w && y >= c.dy && y < c.dy + c.h &&
                                    sx >= 0 && sy >= 0 && sx < 10 && sy < 8;
                for (int k = 0; k < 3; ++k)
                    ASSERT_EQ(At(dst, x, y)[k], copied ? At(src, sx, sy)[k] : 0x5A)
                        << x << "," << y;
            }
        }
    }
}

TEST(CanvasBitBlt, OverlappingCopyWithinOnePicture) {
    TBitmap pic = NoisePicture(16, 16, 24, 9);
    const TBitmap before = pic.Clone();
    TCanvas(&pic).BitBlt(2, 3, 10, 10, pic, 0, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(At(pic, x + 2, y + 3)[1], At(before, x, y)[1]);
}

TEST(CanvasStretchBlt, EnlargingRepeatsPixels) {
    TBitmap src;
    ASSERT_TRUE(src.Create(2, 2, 24, 0));
    Put(src, 0, 0, 10, 20, 30);
    Put(src, 1, 0, 40, 50, 60);
    Put(src, 0, 1, 70, 80, 90);
    Put(src, 1, 1, 100, 110, 120);
    for (TStretchMode mode : {TStretchMode::BlackOnWhite, TStretchMode::Halftone}) {
        TBitmap dst;
        ASSERT_TRUE(dst.Create(6, 6, 24, 0));
        TCanvas canvas(&dst);
        canvas.SetStretchMode(mode);
        canvas.StretchBlt(0, 0, 6, 6, src, 0, 0, 2, 2);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
                for (int k = 0; k < 3; ++k)
                    ASSERT_EQ(At(dst, x, y)[k], At(src, x / 3, y / 3)[k]);
    }
}

// Where no pixels merge (enlarging, or the same size) both modes copy each
// source pixel; the default mode takes a road of its own there (pixel
// copies, rows repeated), the halftone mode the general one.
TEST(CanvasStretchBlt, EnlargingTakesTheSamePixelsInBothModes) {
    std::mt19937 rng(31);
    std::uniform_int_distribution<int> coordinate(-20, 60), extent(-90, 90);
    const TBitmap src = NoisePicture(17, 13, 24, 5);
    for (int i = 0; i < 400; ++i) {
        const int sw = 1 + int(rng() % 17), sh = 1 + int(rng() % 13);
        const int sx = int(rng() % 17) - 2, sy = int(rng() % 13) - 2;
        int dw = extent(rng), dh = extent(rng);
        dw = dw < 0 ? std::min(dw, -sw) : std::max(dw, sw);  // never smaller than the source
        dh = dh < 0 ? std::min(dh, -sh) : std::max(dh, sh);
        const int dx = coordinate(rng), dy = coordinate(rng);
        TBitmap ours = NoisePicture(50, 40, 24, 9), general = NoisePicture(50, 40, 24, 9);
        TCanvas(&ours).StretchBlt(dx, dy, dw, dh, src, sx, sy, sw, sh);
        TCanvas halftone(&general);
        halftone.SetStretchMode(TStretchMode::Halftone);
        halftone.StretchBlt(dx, dy, dw, dh, src, sx, sy, sw, sh);
        ASSERT_TRUE(testing::SamePixels(ours, general))
            << dx << "," << dy << " " << dw << "x" << dh << " from " << sx << "," << sy << " " << sw
            << "x" << sh;
    }
}

TEST(CanvasStretchBlt, ReducingAndsInBlackOnWhiteAndAveragesInHalftone) {
    TBitmap src;
    ASSERT_TRUE(src.Create(4, 2, 24, 0));
    // Left pair of columns: 0xF0 and 0x3C; right pair 200 and 100.
    for (int y = 0; y < 2; ++y) {
        Put(src, 0, y, 0xF0, 0xF0, 0xF0);
        Put(src, 1, y, 0x3C, 0x3C, 0x3C);
        Put(src, 2, y, 200, 200, 200);
        Put(src, 3, y, 100, 100, 100);
    }
    TBitmap dst;
    ASSERT_TRUE(dst.Create(2, 1, 24, 0));
    TCanvas canvas(&dst);
    canvas.StretchBlt(0, 0, 2, 1, src, 0, 0, 4, 2);
    EXPECT_EQ(At(dst, 0, 0)[0], 0xF0 & 0x3C);
    EXPECT_EQ(At(dst, 1, 0)[2], 200 & 100);
    canvas.SetStretchMode(TStretchMode::Halftone);
    canvas.StretchBlt(0, 0, 2, 1, src, 0, 0, 4, 2);
    EXPECT_EQ(At(dst, 0, 0)[1], (0xF0 + 0x3C) / 2);
    EXPECT_EQ(At(dst, 1, 0)[0], 150);
}

TEST(CanvasStretchBlt, NegativeExtentMirrorsAndOutsidePartsAreLeftAlone) {
    TBitmap src;
    ASSERT_TRUE(src.Create(3, 1, 24, 0));
    Put(src, 0, 0, 1, 1, 1);
    Put(src, 1, 0, 2, 2, 2);
    Put(src, 2, 0, 3, 3, 3);
    TBitmap dst;
    ASSERT_TRUE(dst.Create(5, 1, 24, 9));
    TCanvas canvas(&dst);
    canvas.StretchBlt(3, 0, -3, 1, src, 0, 0, 3, 1);  // columns 0..2, mirrored
    EXPECT_EQ(At(dst, 0, 0)[0], 3);
    EXPECT_EQ(At(dst, 2, 0)[0], 1);
    EXPECT_EQ(At(dst, 3, 0)[0], 9);
    canvas.StretchBlt(3, 0, 4, 1, src, 1, 0, 4, 1);  // source and target run out
    EXPECT_EQ(At(dst, 3, 0)[0], 2);
    EXPECT_EQ(At(dst, 4, 0)[0], 3);
    canvas.StretchBlt(0, 0, 5, 1, src, 10, 0, 3, 1);  // nothing to read
    EXPECT_EQ(At(dst, 0, 0)[0], 3);
}

}  // namespace
}  // namespace quil
