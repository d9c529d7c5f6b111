// The page geometry every road shares: where a placed background's corner
// lands under each road's rounding, and which tiles are visited.

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "player/page_geometry.h"

namespace quil {
namespace {

TEST(PageGeometry, PlacementWordsAndCornerRoundings) {
    EXPECT_EQ(PlacementOf(0), TPlacement::Fit);
    EXPECT_EQ(PlacementOf(1), TPlacement::Stretch);
    EXPECT_EQ(PlacementOf(2), TPlacement::Centre);
    for (int word : {3, 4, -1, 1000})
        EXPECT_EQ(PlacementOf(word), TPlacement::TopLeft) << word;

    struct Case {
        const char* what;
        int placement;
        TSize page, picture;
        TCornerRounding rounding;
        int left, top;
    } cases[] = {
        // 256 x 128 fitted to the standard page: k = 3.9921875, 1022 x 511.
        {"fit, wide picture", 0, {1022, 718}, {256, 128}, TCornerRounding::Page, 0, 103},
        // 30 x 17 fitted to 100 x 100: 56.67 high, 43.33 to share.
        {"fit from the exact size", 0, {100, 100}, {30, 17}, TCornerRounding::Page, 0, 21},
        {"fit from the truncated size", 0, {100, 100}, {30, 17}, TCornerRounding::Screen, 0, 22},
        // A picture wider than the page: -79 to share.
        {"centre rounded down", 2, {1022, 718}, {1101, 100}, TCornerRounding::Page, -40, 309},
        {"centre toward zero", 2, {1022, 718}, {1101, 100}, TCornerRounding::Drawing, -39, 309},
        {"stretch", 1, {300, 200}, {7, 9}, TCornerRounding::Page, 0, 0},
        {"top-left", 5, {300, 200}, {7, 9}, TCornerRounding::Drawing, 0, 0},
    };
    for (const Case& c : cases) {
        const TPlacedArea area = PlaceBackground(c.placement, c.page, c.picture, c.rounding);
        EXPECT_EQ(area.left, c.left) << c.what;
        EXPECT_EQ(area.top, c.top) << c.what;
    }
    const TPlacedArea fitted = PlaceBackground(0, {1022, 718}, {256, 128});
    EXPECT_TRUE(fitted.fitted);
    EXPECT_DOUBLE_EQ(fitted.width, 1022.0);
    EXPECT_DOUBLE_EQ(fitted.height, 511.0);
    EXPECT_DOUBLE_EQ(PlaceBackground(1, {300, 200}, {7, 9}).width, 300.0);
    EXPECT_DOUBLE_EQ(PlaceBackground(3, {300, 200}, {7, 9}).height, 9.0);
}

TEST(PageGeometry, AMappedAreaMeasuresItsFarEdgesFromTheTruncatedCorner) {
    TPageMapping zoom;
    zoom.scaleX = zoom.scaleY = 0.5f;
    zoom.originX = 3.0f;
    const TRect r = MappedArea(PlaceBackground(2, {100, 80}, {41, 21}), zoom);
    // Corner (29, 29) maps to (13, 14.5); the sides 20.5 and 10.5 follow from
    // the truncated corner.
    EXPECT_EQ(r.left, 13);
    EXPECT_EQ(r.top, 14);
    EXPECT_EQ(r.right, 33);
    EXPECT_EQ(r.bottom, 24);
}

// Every tile of the plan that overlaps the target, by brute force.
std::set<std::pair<int64_t, int64_t>> OverlappingTiles(const TTiling& t, int width, int height) {
    std::set<std::pair<int64_t, int64_t>> tiles;
    for (int64_t r = 0; r < t.spanHeight; r += t.tileHeight)
        for (int64_t c = 0; c < t.spanWidth; c += t.tileWidth) {
            const int64_t x = t.originX + c, y = t.originY + r;
            if (x < width && y < height && x + t.tileWidth > 0 && y + t.tileHeight > 0)
                tiles.insert({x, y});
        }
    return tiles;
}

TEST(PageGeometry, OnlyTilesThatOverlapTheTargetAreVisited) {
    const TTiling tilings[] = {
        {4, 3, -5, -7, 40, 30},  // starts above and left of the target
        {4, 3, 2, 1, 40, 30},    // starts inside, runs past it
        {50, 50, 0, 0, 200, 200},
        {4, 3, 0, 0, 6, 5},  // the span ends inside the target
    };
    for (const TTiling& t : tilings) {
        std::set<std::pair<int64_t, int64_t>> visited;
        ForEachVisibleTile(t, 17, 11, [&](int64_t x, int64_t y) {
            EXPECT_TRUE(visited.insert({x, y}).second) << "visited twice";
        });
        EXPECT_EQ(visited, OverlappingTiles(t, 17, 11)) << t.originX << "," << t.originY;
    }
}

}  // namespace
}  // namespace quil
