#include <gtest/gtest.h>

#include "render/fuzzy_line.h"

namespace quil {
namespace {

TEST(FuzzyLine, SizesAndAWhollyColouredWorkPicture) {
    TBitmap target;
    ASSERT_TRUE(target.Create(5, 3, 24, 0));
    TFuzzyLine fuzzy(target);
    ASSERT_TRUE(fuzzy.IsValid());
    EXPECT_EQ(fuzzy.WorkBitmap().Width(), 20);
    EXPECT_EQ(fuzzy.WorkBitmap().Height(), 12);
    EXPECT_EQ(fuzzy.WorkCanvas().BrushColor(), kBlack);
    EXPECT_EQ(fuzzy.WorkCanvas().PenColor(), kBlack);
    TCanvas& c = fuzzy.WorkCanvas();
    c.SetBrushColor(MakeColor(13, 200, 77));
    c.FillRect({0, 0, 20, 12});
    fuzzy.ResolveAll();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(target.ScanLine(y)[3 * x + 0], 77);
            EXPECT_EQ(target.ScanLine(y)[3 * x + 1], 200);
            EXPECT_EQ(target.ScanLine(y)[3 * x + 2], 13);
        }
}

TEST(FuzzyLine, HalfBlackBlockResolvesTo127AndOnlyTheRectangleChanges) {
    TBitmap target;
    ASSERT_TRUE(target.Create(4, 4, 24, 9));
    TFuzzyLine fuzzy(target);
    fuzzy.WorkBitmap().Fill(255);
    fuzzy.WorkCanvas().FillRect({0, 0, 2, 4});  // block (0, 0): 8 of 16 black
    fuzzy.ResolveRect(-3, -3, 2, 2);
    EXPECT_EQ(target.ScanLine(0)[0], 127);
    EXPECT_EQ(target.ScanLine(1)[3 * 1], 255);
    EXPECT_EQ(target.ScanLine(2)[0], 9);
    EXPECT_EQ(target.ScanLine(0)[3 * 2], 9);
    fuzzy.ResolveRect(3, 3, 1, 1);
    EXPECT_EQ(target.ScanLine(3)[3 * 3], 9);
}

TEST(FuzzyLine, ClearMakesBothWhiteAndAGreyTargetBecomesColour) {
    TBitmap grey;
    ASSERT_TRUE(grey.Create(3, 2, 8, 40));
    TFuzzyLine fuzzy(grey);
    EXPECT_EQ(grey.BitsPerPixel(), 24);
    EXPECT_EQ(grey.ScanLine(1)[4], 40);
    fuzzy.Clear();
    fuzzy.ResolveAll();
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(grey.ScanLine(1)[i], 255);
    TBitmap empty;
    TFuzzyLine none(empty);
    EXPECT_FALSE(none.IsValid());
    none.ResolveAll();
    none.Clear();
    EXPECT_TRUE(empty.Empty());
    EXPECT_TRUE(none.WorkBitmap().Empty());
}

TEST(FuzzyLine, ATargetThatChangedItsSizeIsLeftAlone) {
    TBitmap target;
    ASSERT_TRUE(target.Create(8, 8, 24, 0));
    TFuzzyLine fuzzy(target);
    ASSERT_TRUE(target.Create(2, 2, 24, 7));  // smaller than the work picture expects
    fuzzy.ResolveAll();
    fuzzy.Clear();
    EXPECT_EQ(target.ScanLine(1)[5], 7);
}

}  // namespace
}  // namespace quil
