// The Qt printer behind the core's printer interface, checked through a
// PDF: the page is rasterised by poppler and compared with the picture.

#include "print/qt_printer.h"

#include <gtest/gtest.h>

#include <QPageLayout>
#include <QPageSize>

#include "pdf_page.h"
#include "test_folder.h"

namespace quil {
namespace {

constexpr int kDpi = 144;

void MakePdfPrinter(QPrinter& printer, const std::filesystem::path& file) {
    testing::MakePdfPrinter(printer, file, kDpi, QPageSize::Letter);
}

// The picture must reach the page exactly: the printer draws it without
// smoothing and stores it losslessly, and at 144 dots per inch a Letter
// page and the picture's edges fall on whole pixels (a pixel is half a
// point), so the rasteriser lays the image pixel for pixel.
TEST(QtPrinter, APdfPageShowsThePicturePixelForPixelWhereTheDestinationSays) {
    testing::TTestFolder folder;
    for (const bool landscape : {false, true}) {
        const auto pdf = folder / (landscape ? "landscape.pdf" : "portrait.pdf");
        QPrinter printer(QPrinter::HighResolution);
        MakePdfPrinter(printer, pdf);
        printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        TQtPrinter adapter(printer);
        const QRect paint = printer.pageLayout().paintRectPixels(kDpi);
        EXPECT_EQ(adapter.PageWidth(), paint.width());
        EXPECT_EQ(adapter.PageHeight(), paint.height());

        const TBitmap picture = testing::MakePatternPicture(301, 157);
        const TRect destination{40, 60, 341, 217};
        ASSERT_TRUE(adapter.BeginDoc());
        adapter.StretchPicture(destination, picture);
        ASSERT_TRUE(adapter.EndDoc());

        testing::TRgbaPicture page;
        ASSERT_TRUE(testing::RasterisePdf(pdf, kDpi, page));
        const QRect full = printer.pageLayout().fullRectPixels(kDpi);
        EXPECT_EQ(page.width, full.width());
        EXPECT_EQ(page.height, full.height());
        const int x = paint.left() + destination.left, y = paint.top() + destination.top;
        EXPECT_EQ(testing::LargestDifference(page, x, y, picture), 0)
            << (landscape ? "landscape" : "portrait");
        // Around it the page is white.
        EXPECT_EQ(page.At(x - 1, y + 10)[0], 255);
        EXPECT_EQ(page.At(x + 10, y + 157)[1], 255);
    }
}

TEST(QtPrinter, AJobThatCannotStartDrawsAndAcceptsNothing) {
    testing::TTestFolder folder;
    QPrinter printer(QPrinter::HighResolution);
    MakePdfPrinter(printer, folder / "no such folder" / "page.pdf");
    TQtPrinter adapter(printer);
    TBitmap picture;
    picture.Create(10, 10);
    adapter.StretchPicture({0, 0, 10, 10}, picture);
    EXPECT_FALSE(adapter.BeginDoc());
    EXPECT_FALSE(adapter.EndDoc());
    EXPECT_FALSE(std::filesystem::exists(folder / "no such folder"));
}

TEST(QtPrinter, AnEmptyDestinationOrPictureDrawsNothing) {
    testing::TTestFolder folder;
    QPrinter printer(QPrinter::HighResolution);
    MakePdfPrinter(printer, folder / "page.pdf");
    TQtPrinter adapter(printer);
    ASSERT_TRUE(adapter.BeginDoc());
    const TBitmap black = [] {
        TBitmap b;
        b.Create(20, 20, 24, 0);
        return b;
    }();
    adapter.StretchPicture({50, 50, 50, 70}, black);
    adapter.StretchPicture({50, 50, 70, 40}, black);
    adapter.StretchPicture({50, 50, 70, 70}, TBitmap());
    ASSERT_TRUE(adapter.EndDoc());
    testing::TRgbaPicture page;
    ASSERT_TRUE(testing::RasterisePdf(folder / "page.pdf", kDpi, page));
    int dark = 0;
    for (uint8_t v : page.pixels)
        dark += v < 250;
    EXPECT_EQ(dark, 0);
}

}  // namespace
}  // namespace quil
