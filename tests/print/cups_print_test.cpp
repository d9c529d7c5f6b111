// Printing through a real print server: cups_print_test.sh starts CUPS
// with a PDF printer; a picture printed through the Qt printer must arrive
// in the PDF the server writes, where the destination says, unchanged.

#include <gtest/gtest.h>

#include <QPrinterInfo>
#include <chrono>
#include <thread>

#include "pdf_page.h"
#include "print/qt_printer.h"
#include "run_tool.h"

namespace quil {
namespace {

constexpr int kDpi = 144;

struct TServer {
    std::string queue, pdfFolder;
};

bool FromScript(TServer& server) {
    const char* queue = std::getenv("QUIL_CUPS_QUEUE");
    const char* folder = std::getenv("QUIL_CUPS_PDF_FOLDER");
    if (queue == nullptr || folder == nullptr) return false;
    server = {queue, folder};
    return true;
}

// The PDF the server wrote for the job of that title, once the queue has
// no job left; empty when none came within the time allowed.
std::filesystem::path WaitForPdf(const TServer& server, const std::string& title) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (std::chrono::steady_clock::now() < end) {
        std::error_code error;
        const bool idle = test::RunProgram("lpstat", {"-o", server.queue}).out.empty();
        for (const auto& entry : std::filesystem::directory_iterator(server.pdfFolder, error)) {
            const std::string name = entry.path().filename().string();
            if (idle && name.find(title) != std::string::npos && name.ends_with(".pdf"))
                return entry.path();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return {};
}

// A printer for the script's queue, Letter at 144 dots per inch, so that a
// pixel is half a point and the picture's edges fall on whole pixels.
void MakeQueuePrinter(QPrinter& printer, const TServer& server, const std::string& title) {
    printer.setPrinterName(QString::fromStdString(server.queue));
    printer.setResolution(kDpi);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setDocName(QString::fromStdString(title));
}

const TRect kDestination{40, 60, 341, 217};

// One page with the pattern picture at kDestination; whether the job was
// accepted.
bool PrintPattern(QPrinter& printer, const TBitmap& picture) {
    TQtPrinter adapter(printer);
    if (!adapter.BeginDoc()) return false;
    adapter.StretchPicture(kDestination, picture);
    return adapter.EndDoc();
}

TEST(CupsPrint, APictureReachesThePdfPrintersPageUnchanged) {
    TServer server;
    if (!FromScript(server)) GTEST_SKIP() << "runs under cups_print_test.sh";
    ASSERT_TRUE(
        QPrinterInfo::availablePrinterNames().contains(QString::fromStdString(server.queue)))
        << "the system does not list " << server.queue;
    QPrinter printer(QPrinter::HighResolution);
    const std::string title = "quil-print-" + std::to_string(getpid());
    MakeQueuePrinter(printer, server, title);
    ASSERT_EQ(printer.outputFormat(), QPrinter::NativeFormat);
    const TBitmap picture = testing::MakePatternPicture(301, 157);
    ASSERT_TRUE(PrintPattern(printer, picture));

    const std::filesystem::path pdf = WaitForPdf(server, title);
    ASSERT_FALSE(pdf.empty()) << "no PDF arrived in " << server.pdfFolder;
    // Written by the server's PDF printer (through Ghostscript), not by Qt.
    const std::vector<uint8_t> bytes = testing::ReadWholeFile(pdf.string());
    EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("Ghostscript"), std::string::npos);
    testing::TRgbaPicture page;
    const bool rasterised = testing::RasterisePdf(pdf, kDpi, page);
    std::filesystem::remove(pdf);
    std::filesystem::remove(pdf.parent_path() / (pdf.stem().string() + "-page.png"));
    ASSERT_TRUE(rasterised);

    const QRect full = printer.pageLayout().fullRectPixels(kDpi);
    EXPECT_EQ(page.width, full.width());
    EXPECT_EQ(page.height, full.height());
    const QRect paint = printer.pageLayout().paintRectPixels(kDpi);
    const int x = paint.left() + kDestination.left, y = paint.top() + kDestination.top;
    const testing::TPictureComparison c = testing::ComparePicture(page, x, y, picture, 0);
    EXPECT_EQ(c.largestDifference, 0);
}

TEST(CupsPrint, AJobTheServerRefusesIsReportedAsRefused) {
    TServer server;
    if (!FromScript(server)) GTEST_SKIP() << "runs under cups_print_test.sh";
    ASSERT_EQ(test::RunProgram("cupsreject", {server.queue}).status, 0);
    QPrinter printer(QPrinter::HighResolution);
    MakeQueuePrinter(printer, server, "quil-refused-" + std::to_string(getpid()));
    const bool accepted = PrintPattern(printer, testing::MakePatternPicture(30, 20));
    test::RunProgram("cupsaccept", {server.queue});
    EXPECT_FALSE(accepted);
}

}  // namespace
}  // namespace quil
