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

TEST(CupsPrint, APictureReachesThePdfPrintersPageUnchanged) {
    TServer server;
    if (!FromScript(server)) GTEST_SKIP() << "runs under cups_print_test.sh";

    QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(server.queue));
    ASSERT_FALSE(info.isNull()) << "the system does not list " << server.queue;
    QPrinter printer(info, QPrinter::HighResolution);
    ASSERT_EQ(printer.outputFormat(), QPrinter::NativeFormat);
    printer.setResolution(kDpi);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    const std::string title = "quil-print-" + std::to_string(getpid());
    printer.setDocName(QString::fromStdString(title));

    TQtPrinter adapter(printer);
    const TBitmap picture = testing::MakePatternPicture(301, 157);
    const TRect destination{40, 60, 341, 217};
    ASSERT_TRUE(adapter.BeginDoc());
    adapter.StretchPicture(destination, picture);
    ASSERT_TRUE(adapter.EndDoc());

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
    const int x = paint.left() + destination.left, y = paint.top() + destination.top;
    const testing::TPictureComparison c = testing::ComparePicture(page, x, y, picture, 0);
    EXPECT_EQ(c.largestDifference, 0);
}

}  // namespace
}  // namespace quil
