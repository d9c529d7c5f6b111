// The print rendering through Qt's printing into a PDF file: the page,
// rasterised by poppler, shows the off-screen rendering of the chosen area
// at the print resolution, unchanged, where the destination says.

#include <gtest/gtest.h>

#include <QPageSize>
#include <QPrinter>

#include "pdf_page.h"
#include "player/manual_timer.h"
#include "print/qt_printer.h"
#include "printed_page.h"
#include "test_folder.h"

namespace quil {
namespace {

// A pixel is half a point: the picture's edges fall on whole pixels.
constexpr int kDpi = 144;

TEST(PrintToPdf, ThePageShowsTheAreaAtItsResolutionWhereTheDestinationSays) {
    testing::TTestFolder folder;
    ASSERT_TRUE(fixture::WriteFile(folder / "page.stk", test::PrintedPage()));
    TManualTimerFactory timers;
    TQuil3Reader player(timers, nullptr, 1, 1);
    ASSERT_EQ(player.Open(folder / "page.stk"), 0);
    player.Show(false);

    QPrinter printer(QPrinter::HighResolution);
    testing::MakePdfPrinter(printer, folder / "area.pdf", kDpi, QPageSize::A4);
    TQtPrinter target(printer);
    // Half the page's width and height from its left edge at 1.0: twice
    // the pixels a page unit, 300 x 200 in all. No stroke crosses the
    // area's left or top edge (where samples would truncate the other way
    // than inside a page).
    const TRect destination{70, 90, 370, 290};
    TPrintStatus status = TPrintStatus::NoPage;
    ASSERT_EQ(player.RenderToPrinter(target, {{0, 60, 150, 160}, destination, 1.0f}, &status), 1);
    EXPECT_EQ(status, TPrintStatus::Printed);

    TBitmap page;
    ASSERT_TRUE(page.Create(600, 400));
    ASSERT_EQ(player.RenderToBitmap(page, true), 1);
    TBitmap area;
    ASSERT_TRUE(area.Create(300, 200));
    TCanvas(&area).BitBlt(0, 0, 300, 200, page, 0, 120);

    testing::TRgbaPicture printed;
    ASSERT_TRUE(testing::RasterisePdf(folder / "area.pdf", kDpi, printed));
    const QRect paint = printer.pageLayout().paintRectPixels(kDpi);
    EXPECT_EQ(testing::LargestDifference(printed, paint.left() + destination.left,
                                         paint.top() + destination.top, area),
              0);
}

}  // namespace
}  // namespace quil
