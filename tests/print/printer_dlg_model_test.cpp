// The dialog's results: the chosen area back in page units through the
// rendering the preview was made with, and the target on the printer page.

#include "print/printer_dlg_model.h"

#include <gtest/gtest.h>

#include "player/manual_timer.h"
#include "player/quil3_reader.h"
#include "recording_writer.h"
#include "test_folder.h"

namespace quil {
namespace {

using fixture::TRecordingWriter;

std::string Text(const TRect& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

TEST(PrintResults, TheFullAreaIsTheWholePageWhateverItsSize) {
    const struct {
        int width, height;
    } pages[] = {{1022, 718}, {718, 1022}, {2000, 1000}, {100, 50}, {5000, 300}, {1, 1}};
    for (const auto& page : pages) {
        TPrinterDlgModel model(page.width, page.height);
        model.Next();
        const TRect expected{0, 0, page.width, page.height};
        EXPECT_TRUE(model.AreaResult() == expected)
            << page.width << " x " << page.height << ": " << Text(model.AreaResult());
    }
}

TEST(PrintResults, AnAreaThatCoversNoPartOfThePageCannotBePrinted) {
    // A tall page leaves white margins left and right in the preview.
    TPrinterDlgModel model(300, 718);
    model.Selection().SetRect({0, 0, 100, 280});
    model.Next();
    const TRect area = model.AreaResult();
    EXPECT_EQ(area.right - area.left, 0) << Text(area);
    EXPECT_FALSE(model.CanPrint(4960, 7016));

    model.Selection().SetRect({180, 0, 40, 280});
    model.Next();
    EXPECT_TRUE(model.CanPrint(4960, 7016));
    EXPECT_FALSE(model.CanPrint(0, 0));  // a printer without a page
}

TEST(PrintResults, TheTargetIsThePlacedPictureOnThePrinterPage) {
    TPrinterDlgModel model(1022, 718);
    model.Placement().UpdatePaper(4960, 7016);
    model.Next();
    // Centred, as wide as the paper but for the preview's white margins of
    // 0.7 pixels beside the page (some 9 printer pixels): the same margin
    // left and right, and above and below.
    const TRect centred = model.TargetResult(4960, 7016);
    EXPECT_NEAR(centred.left, 9, 1);
    EXPECT_NEAR(centred.right, 4960 - 9, 1);
    EXPECT_NEAR(centred.top, 7016 - centred.bottom, 1);
    EXPECT_NEAR(centred.bottom - centred.top, 4960 * 280 / 400, 2);

    // Half the size, in the bottom-right corner.
    model.Placement().SetZoomPosition(10);
    model.Placement().PlaceAt(kPlaceBottomRight);
    const TRect corner = model.TargetResult(4960, 7016);
    EXPECT_NEAR(corner.left, 2480 + 4, 1);
    EXPECT_NEAR(corner.right, 4960 - 4, 1);
    EXPECT_NEAR(corner.bottom, 7016, 1);
    EXPECT_NEAR(corner.bottom - corner.top, 4960 * 280 / 800, 2);
}

// The area result leaves out the preview's margins beside the page, and so
// does the target: the page prints in its own proportions where the
// position preview shows it. A part chosen inside the page is the whole
// placed picture.
TEST(PrintResults, TheTargetLeavesOutTheMarginsTheAreaLeavesOut) {
    for (const TSize page : {TSize{300, 718}, TSize{2000, 300}}) {
        TPrinterDlgModel model(page.width, page.height);
        model.Placement().UpdatePaper(4960, 7016);
        model.Next();
        const TRect area = model.AreaResult();
        ASSERT_TRUE(area == (TRect{0, 0, page.width, page.height}));
        const TRect target = model.TargetResult(4960, 7016);
        const double aspect = double(target.right - target.left) / (target.bottom - target.top);
        EXPECT_NEAR(aspect, double(page.width) / page.height, 0.01) << Text(target);
        // Centred in the placed picture, which is centred on the paper.
        EXPECT_NEAR(target.left, 4960 - target.right, 2) << Text(target);
        EXPECT_NEAR(target.top, 7016 - target.bottom, 2) << Text(target);
    }

    TPrinterDlgModel inside(1022, 718);
    inside.Placement().UpdatePaper(4960, 7016);
    inside.Selection().SetRect({150, 50, 100, 70});
    inside.Next();
    const TPaperPlacement& p = inside.Placement();
    const TRect target = inside.TargetResult(4960, 7016);
    EXPECT_EQ(target.left, int(4960 * double(p.PosX()) / p.Paper().w));
    EXPECT_EQ(target.bottom, int(7016 * (double(p.PlacedHeight()) + p.PosY()) / p.Paper().h));
}

// The preview rendered by the player, then "Auto" around a dot and "Next":
// the area in page units must hold the dot, with only the selection's
// margin around it, on pages of every shape.
TEST(PrintResults, AutoAroundADotGivesThatDotsPartOfThePage) {
    testing::TTestFolder folder;
    const struct {
        int width, height;
        double x, y, radius;
    } cases[] = {
        {1022, 718, 300, 500, 6},
        {2000, 1000, 1500, 250, 12},
        {718, 1022, 100, 900, 6},
        {300, 2000, 250, 150, 15},
    };
    for (const auto& c : cases) {
        fixture::Header header;
        header.pageWidth = c.width;
        header.pageHeight = c.height;
        TRecordingWriter writer(header);
        writer.Stroke({{c.x, c.y, c.radius}, {c.x + 1, c.y, c.radius}, {c.x + 1, c.y, 0}});
        const auto file = folder / "dot.stk";
        ASSERT_TRUE(fixture::WriteFile(file, writer.Body()));

        TManualTimerFactory timers;
        TQuil3Reader player(timers, nullptr, 1, 1);
        ASSERT_EQ(player.Open(file), 0);
        player.Show(false);
        TPrinterDlgModel model(c.width, c.height);
        ASSERT_EQ(player.RenderToBitmap(model.AreaPreview(), false), 1);
        model.Selection().Auto(model.AreaPreview());
        model.Next();
        const TRect area = model.AreaResult();
        // The selection's margin is 2 to 3 preview pixels, plus one for
        // the anti-aliased edge, in page units.
        const double unit =
            std::max(double(c.width) / kAreaPreviewWidth, double(c.height) / kAreaPreviewHeight);
        const double slack = 4.5 * unit;
        const std::string where =
            std::to_string(c.width) + " x " + std::to_string(c.height) + ": " + Text(area);
        EXPECT_LE(area.left, c.x - c.radius) << where;
        EXPECT_GE(area.left, c.x - c.radius - slack) << where;
        EXPECT_GE(area.right, c.x + 1 + c.radius) << where;
        EXPECT_LE(area.right, c.x + 1 + c.radius + slack) << where;
        EXPECT_LE(area.top, c.y - c.radius) << where;
        EXPECT_GE(area.top, c.y - c.radius - slack) << where;
        EXPECT_GE(area.bottom, c.y + c.radius) << where;
        EXPECT_LE(area.bottom, c.y + c.radius + slack) << where;
    }
}

}  // namespace
}  // namespace quil
