// The main window's sizing: start-up, the layout after opening and the fit rule.

#include "player/window_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace quil {
namespace {

// The window at its design size: 800 x 600 outside, a 792 x 527 base panel
// (a 792 x 546 client area less the 19-pixel status bar).
constexpr TSize kDesignWindow{800, 600};
constexpr TSize kDesignBase{792, 527};
constexpr TSize kStartPage{1022, 718};

TEST(WindowLayout, StartupKeepsTheDesignSizeWhereThePageAreaDoesNotFit) {
    // 1024 - 8 leaves 1016 pixels for a 1022-pixel page.
    EXPECT_EQ(TWindowLayout(1024, 768).Startup(kStartPage, kDesignWindow, kDesignBase),
              std::nullopt);
    // Wide enough but too low: 1022 + 8 fits in 1030, 718 + 73 not in 790.
    EXPECT_EQ(TWindowLayout(1030, 790).Startup(kStartPage, kDesignWindow, kDesignBase),
              std::nullopt);
}

TEST(WindowLayout, StartupGrowsTheBasePanelToThePageAndCentresTheWindow) {
    const auto rect = TWindowLayout(1280, 1024).Startup(kStartPage, kDesignWindow, kDesignBase);
    ASSERT_TRUE(rect);
    // The base panel becomes 1022 x 718 inside the same frame.
    EXPECT_EQ(*rect, (TWindowRect{125, 116, 1030, 791}));
    EXPECT_EQ(rect->width - 8, 1022);
    EXPECT_EQ(rect->height - 73, 718);
    // Exactly enough room is room.
    EXPECT_TRUE(TWindowLayout(1030, 791).Startup(kStartPage, kDesignWindow, kDesignBase));
}

TEST(WindowLayout, AfterOpenShowsAPageThatFitsAtZoomOneInAWindowSizedToIt) {
    const TWindowLayout screen(1280, 1024);
    const TSize window{1030, 791}, base{1022, 718};
    const TOpenLayout small = screen.AfterOpen({300, 200}, window, base, false);
    EXPECT_TRUE(small.resize);
    // The window asks for the page's size; a minimum window size may keep it
    // larger, and the page then sits at the top-left at zoom 1.0.
    EXPECT_EQ(small.window, (TSize{308, 273}));
    EXPECT_EQ(small.display, (TDisplayLayout{0, 0, 300, 200, 1.0f}));

    const TOpenLayout exact = screen.AfterOpen({1272, 951}, window, base, false);
    EXPECT_TRUE(exact.resize);
    EXPECT_EQ(exact.window, (TSize{1280, 1024}));
}

TEST(WindowLayout, AfterOpenFitsALargePageOrAMaximisedWindow) {
    const TWindowLayout screen(1280, 1024);
    const TSize window{1030, 791}, base{1022, 718};
    for (const TSize page : {TSize{1273, 100}, TSize{100, 952}, TSize{4000, 3000}}) {
        const TOpenLayout large = screen.AfterOpen(page, window, base, false);
        EXPECT_FALSE(large.resize) << page.width << "x" << page.height;
        EXPECT_EQ(large.display, TWindowLayout::Fit(page.width, page.height, 1022, 718));
    }
    const TOpenLayout maximised = screen.AfterOpen({300, 200}, {1208, 973}, {1200, 900}, true);
    EXPECT_FALSE(maximised.resize);
    // Enlarged above zoom 1.0: the width ratio 1200 / 300 is the smaller.
    EXPECT_EQ(maximised.display, (TDisplayLayout{0, 50, 1200, 800, 4.0f}));
}

TEST(WindowLayout, FitTakesTheSmallerRatioAndCentres) {
    struct Case {
        int pw, ph, bw, bh;
        TDisplayLayout expected;
    };
    const Case cases[] = {
        // Wide panel: the height ratio is smaller; width trunc(1022 * 0.5).
        {1022, 718, 1200, 359, {344, 0, 511, 359, 0.5f}},
        // Tall panel: the width ratio; height trunc(718 * 0.5) = 359, centred
        // with an arithmetic shift of the odd remainder.
        {1022, 718, 511, 600, {0, 120, 511, 359, 0.5f}},
        // Equal ratios take the width branch.
        {100, 50, 200, 100, {0, 0, 200, 100, 2.0f}},
        // The panel is the page.
        {1022, 718, 1022, 718, {0, 0, 1022, 718, 1.0f}},
        // A panel smaller than a pixel of page: nothing to show.
        {1022, 718, 1, 1, {0, 0, 1, 0, 1.0f / 1022.0f}},
    };
    for (const Case& c : cases) {
        const TDisplayLayout got = TWindowLayout::Fit(c.pw, c.ph, c.bw, c.bh);
        EXPECT_EQ(got, c.expected) << c.pw << "x" << c.ph << " in " << c.bw << "x" << c.bh;
    }
    EXPECT_EQ(TWindowLayout::Fit(0, 718, 100, 100), TDisplayLayout{});
}

// Against the rule's meaning rather than its formula: for any panel the page
// keeps its aspect within a pixel, fills the panel along one axis, lies
// inside it and is centred.
TEST(WindowLayout, FitFillsOneAxisKeepsTheAspectAndCentres) {
    std::mt19937 random(20080222);
    std::uniform_int_distribution<int> size(1, 3000);
    for (int i = 0; i < 2000; ++i) {
        const int pw = size(random), ph = size(random), bw = size(random), bh = size(random);
        const TDisplayLayout d = TWindowLayout::Fit(pw, ph, bw, bh);
        SCOPED_TRACE(::testing::Message() << pw << "x" << ph << " in " << bw << "x" << bh);
        ASSERT_TRUE(d.width == bw || d.height == bh);
        ASSERT_LE(d.width, bw);
        ASSERT_LE(d.height, bh);
        ASSERT_NEAR(d.width, pw * double(d.zoom), 1.0);
        ASSERT_NEAR(d.height, ph * double(d.zoom), 1.0);
        ASSERT_LE(std::abs((bw - d.width) - 2 * d.left), 1);
        ASSERT_LE(std::abs((bh - d.height) - 2 * d.top), 1);
    }
}

TEST(WindowLayout, ZoomTruncatesAndRefusesAnEmptyDisplay) {
    EXPECT_EQ(TWindowLayout::Zoom(1022, 718, 0.5f), (TDisplayLayout{0, 0, 511, 359, 0.5f}));
    EXPECT_EQ(TWindowLayout::Zoom(300, 200, 1.0f / 3.0f),
              (TDisplayLayout{0, 0, 100, 66, 1.0f / 3.0f}));
    EXPECT_EQ(TWindowLayout::Zoom(1022, 718, 0.001f), std::nullopt);
    EXPECT_EQ(TWindowLayout::Zoom(1022, 718, 1e30f), std::nullopt);
}

TEST(WindowLayout, DeviceDisplayScalesSizeAndZoomByThePixelRatio) {
    const TDisplayLayout logical{10, 20, 511, 359, 0.5f};
    const TDeviceDisplay twice = TWindowLayout::ToDevice(logical, 2.0);
    EXPECT_EQ(twice.width, 1022);
    EXPECT_EQ(twice.height, 718);
    EXPECT_EQ(twice.zoom, 1.0f);
    const TDeviceDisplay fractional = TWindowLayout::ToDevice(logical, 1.25);
    EXPECT_EQ(fractional.width, 638);
    EXPECT_EQ(fractional.height, 448);
    EXPECT_EQ(TWindowLayout::ToDevice(logical, 0.0).width, 511);
}

}  // namespace
}  // namespace quil
