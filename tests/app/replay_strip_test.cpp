// The replay strip's painting, column by column, without a display.

#include "app/replay_strip.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "app/strip_tiles.h"

namespace quil {
namespace {

constexpr int kHeight = 15;  // the 19-pixel status bar less 4
constexpr int kMiddleRow = kHeight / 2;

uint32_t Rgb(const TBitmap& picture, int x, int y) {
    const uint8_t* p = picture.ScanLine(y) + 3 * x;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

// Which tile a column was painted from, told by the colours of the tiles'
// table: 'g' grey, 'b' blue, 'G' green, '?' none of them.
char TileOf(const TBitmap& strip, int x) {
    const uint32_t colour = Rgb(strip, x, kMiddleRow);
    const std::pair<TStripTile, char> tiles[] = {
        {TStripTile::Grey, 'g'}, {TStripTile::Blue, 'b'}, {TStripTile::Green, 'G'}};
    for (const auto& [tile, letter] : tiles) {
        const TBitmap t = MakeStripTile(tile);
        for (int ty = 0; ty < kStripTileSize; ++ty)
            for (int tx = 0; tx < kStripTileSize; ++tx)
                if (Rgb(t, tx, ty) == colour) return letter;
    }
    return '?';
}

// The tiles of columns [from, to) as a string.
std::string Tiles(const TBitmap& strip, int from, int to) {
    std::string s;
    for (int x = from; x < to; ++x)
        s += TileOf(strip, x);
    return s;
}

// Whether two pictures agree outside the columns [from, to).
bool SameOutside(const TBitmap& a, const TBitmap& b, int from, int to) {
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if ((x < from || x >= to) && Rgb(a, x, y) != Rgb(b, x, y)) return false;
    return true;
}

TEST(StripTiles, HaveTheTableColoursInTheirParts) {
    const TBitmap blue = MakeStripTile(TStripTile::Blue);
    EXPECT_EQ(Rgb(blue, 0, 4), 0x4473D4u);  // border
    EXPECT_EQ(Rgb(blue, 8, 0), 0x86A6E2u);  // corner
    EXPECT_EQ(Rgb(blue, 1, 1), 0x6EB7EEu);  // edge column, row 1
    EXPECT_EQ(Rgb(blue, 4, 1), 0x82DBFEu);  // centre, row 1
    EXPECT_EQ(Rgb(blue, 7, 7), 0x6DB3EEu);
    const TBitmap green = MakeStripTile(TStripTile::Green);
    EXPECT_EQ(Rgb(green, 4, 0), 0x44AD73u);
    EXPECT_EQ(Rgb(green, 4, 8), 0x62A06Cu);  // its bottom row differs
    EXPECT_EQ(Rgb(green, 0, 0), 0x7AC884u);
    EXPECT_EQ(Rgb(green, 8, 8), 0x879383u);
    const TBitmap grey = MakeStripTile(TStripTile::Grey);
    EXPECT_EQ(Rgb(grey, 5, 3), 0xCECECEu);
    EXPECT_EQ(Rgb(grey, 7, 3), 0xC4C4C4u);
}

TEST(ReplayStrip, StartsGreyWithoutATotal) {
    TReplayStrip strip(kHeight);
    strip.DrawReplayStrip(0, 0);
    EXPECT_EQ(Tiles(strip.Picture(), 0, kStripWidth), std::string(kStripWidth, 'g'));
    EXPECT_EQ(strip.FillEnd(), -1);
    EXPECT_EQ(strip.PaintedWidth(), kStripWidth);
    // The caps keep their border: the outermost columns show the border.
    EXPECT_EQ(Rgb(strip.Picture(), 0, kMiddleRow), 0xAAAAAAu);
    EXPECT_EQ(Rgb(strip.Picture(), kStripWidth - 1, kMiddleRow), 0xAAAAAAu);
}

TEST(ReplayStrip, BluePartSpansPositionOverTotal) {
    TReplayStrip strip(kHeight);
    strip.DrawReplayStrip(0, 0);
    strip.DrawReplayStrip(-2, -2);  // a complete strip makes the next paint whole
    strip.DrawReplayStrip(20, 40);
    EXPECT_EQ(strip.FillEnd(), 125);
    EXPECT_EQ(Tiles(strip.Picture(), 0, kStripWidth),
              std::string(125, 'b') + std::string(125, 'g'));
    // The blue part ends in its right cap, its border the last blue column.
    EXPECT_EQ(Rgb(strip.Picture(), 124, kMiddleRow), 0x4473D4u);
    EXPECT_EQ(Rgb(strip.Picture(), 0, kMiddleRow), 0x4473D4u);
}

TEST(ReplayStrip, MovingForwardOrBackPaintsOnlyTheColumnsBetween) {
    TReplayStrip strip(kHeight);
    strip.DrawReplayStrip(-2, -2);
    strip.DrawReplayStrip(10, 40);
    ASSERT_EQ(strip.FillEnd(), 62);
    strip.TakeChanged();
    const TBitmap before = strip.Picture().Clone();

    strip.DrawReplayStrip(30, -1);
    EXPECT_EQ(strip.FillEnd(), 187);
    const TRect forward = strip.TakeChanged();
    EXPECT_EQ(forward.left, 60);
    EXPECT_EQ(forward.right, 187);
    EXPECT_TRUE(SameOutside(before, strip.Picture(), 60, 187));
    EXPECT_EQ(Tiles(strip.Picture(), 0, kStripWidth), std::string(187, 'b') + std::string(63, 'g'));
    // The right cap over 185 .. 186, the middle up to 184.
    EXPECT_EQ(Rgb(strip.Picture(), 186, kMiddleRow), 0x4473D4u);
    EXPECT_NE(Rgb(strip.Picture(), 184, kMiddleRow), 0x4473D4u);

    const TBitmap atThirty = strip.Picture().Clone();
    strip.DrawReplayStrip(10, -1);
    EXPECT_EQ(strip.FillEnd(), 62);
    const TRect back = strip.TakeChanged();
    EXPECT_EQ(back.left, 60);
    EXPECT_EQ(back.right, 187);
    EXPECT_TRUE(SameOutside(atThirty, strip.Picture(), 60, 187));
    EXPECT_EQ(Tiles(strip.Picture(), 0, kStripWidth), std::string(62, 'b') + std::string(188, 'g'));
    EXPECT_EQ(Rgb(strip.Picture(), 61, kMiddleRow), 0x4473D4u);

    // The same position again paints nothing.
    strip.DrawReplayStrip(10, -1);
    EXPECT_EQ(strip.TakeChanged().right, 0);
}

TEST(ReplayStrip, EveryPositionLeavesBlueThenGreyWithTheCapsInPlace) {
    // Replaying 40 elements one by one from a whole paint at position 0,
    // then back, the strip always reads as a blue part of position / total
    // of the width followed by grey, and the left end keeps its border.
    TReplayStrip strip(kHeight);
    strip.DrawReplayStrip(0, 0);
    strip.DrawReplayStrip(-1, 40);
    strip.DrawReplayStrip(-2, -2);
    strip.DrawReplayStrip(0, -1);
    auto check = [&](int position) {
        const int x = position * kStripWidth / 40;
        SCOPED_TRACE(position);
        ASSERT_EQ(
            Tiles(strip.Picture(), 2, kStripWidth),
            std::string(std::max(x - 2, 0), 'b') + std::string(kStripWidth - std::max(x, 2), 'g'));
        ASSERT_EQ(Rgb(strip.Picture(), 0, kMiddleRow), 0x4473D4u);
    };
    for (int p = 1; p <= 40; ++p) {
        strip.DrawReplayStrip(p, -1);
        check(p);
    }
    for (int p = 39; p >= 1; --p) {
        strip.DrawReplayStrip(p, -1);
        check(p);
    }
}

TEST(ReplayStrip, CompleteIsGreenAndTheNextPositionRepaintsWhole) {
    TReplayStrip strip(kHeight);
    strip.DrawReplayStrip(40, 40);
    strip.DrawReplayStrip(-2, -2);
    EXPECT_EQ(Tiles(strip.Picture(), 0, kStripWidth), std::string(kStripWidth, 'G'));
    EXPECT_EQ(strip.FillEnd(), -1);
    EXPECT_EQ(strip.PaintedWidth(), 0);
    EXPECT_EQ(strip.Position(), 40);
    EXPECT_EQ(strip.Total(), 40);
    // Not a column of the green stays, also at the end of the blue part.
    strip.DrawReplayStrip(13, -1);
    EXPECT_EQ(Tiles(strip.Picture(), 0, kStripWidth), std::string(81, 'b') + std::string(169, 'g'));
    // Position equal to total: blue over the whole width, ending in the cap.
    strip.DrawReplayStrip(-2, -2);
    strip.DrawReplayStrip(40, -1);
    EXPECT_EQ(Tiles(strip.Picture(), 0, kStripWidth), std::string(kStripWidth, 'b'));
    EXPECT_EQ(Rgb(strip.Picture(), kStripWidth - 1, kMiddleRow), 0x4473D4u);
}

}  // namespace
}  // namespace quil
