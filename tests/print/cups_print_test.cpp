// Printing through a real print server: cups_print_test.sh starts CUPS
// with a PDF printer; a picture printed through the Qt printer must arrive
// in the PDF the server writes, where the destination says, unchanged, and
// so must the page the window's Print command prints, its dialog driven by
// the test.

#include <gtest/gtest.h>

#include <QAction>
#include <QPrinterInfo>
#include <chrono>
#include <cstring>
#include <functional>
#include <set>

#include "app/qt_print_command.h"
#include "pdf_page.h"
#include "print/qt_printer.h"
#include "print_command_fixture.h"
#include "printed_page.h"
#include "run_tool.h"
#include "window_fixture.h"

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

// The PDFs in the server's folder.
std::set<std::filesystem::path> PdfFiles(const TServer& server) {
    std::set<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(server.pdfFolder, error))
        if (entry.path().extension() == ".pdf") files.insert(entry.path());
    return files;
}

// The PDF the server wrote whose name `wanted` accepts, once the queue has
// no job left; empty when none came within the time allowed. Processes the
// toolkit's messages meanwhile.
std::filesystem::path WaitForPdf(const TServer& server,
                                 const std::function<bool(const std::filesystem::path&)>& wanted) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (std::chrono::steady_clock::now() < end) {
        const bool idle = test::RunProgram("lpstat", {"-o", server.queue}).out.empty();
        for (const std::filesystem::path& file : PdfFiles(server))
            if (idle && wanted(file)) return file;
        test::Settle(200);
    }
    return {};
}

std::filesystem::path WaitForPdf(const TServer& server, const std::string& title) {
    return WaitForPdf(server, [&](const std::filesystem::path& file) {
        return file.filename().string().find(title) != std::string::npos;
    });
}

// Removes a PDF and the picture rasterised from it.
void RemovePdf(const std::filesystem::path& pdf) {
    std::filesystem::remove(pdf);
    std::filesystem::remove(pdf.parent_path() / (pdf.stem().string() + "-page.png"));
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
    RemovePdf(pdf);
    ASSERT_TRUE(rasterised);

    const QRect full = printer.pageLayout().fullRectPixels(kDpi);
    EXPECT_EQ(page.width, full.width());
    EXPECT_EQ(page.height, full.height());
    const QRect paint = printer.pageLayout().paintRectPixels(kDpi);
    const int x = paint.left() + kDestination.left, y = paint.top() + kDestination.top;
    EXPECT_EQ(testing::LargestDifference(page, x, y, picture), 0);
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

// The system's printers on Letter paper at a resolution where the
// picture's edges fall on whole pixels of the rasterised PDF (the paper's
// sides are whole inches); message boxes are kept.
class TPrintersAt144 final : public IPrintSystem {
public:
    bool HasPrinter() override { return system_.HasPrinter(); }
    void SetUpPrinter(QPrinter& printer) override {
        printer.setResolution(kDpi);
        printer.setPageSize(QPageSize(QPageSize::Letter));
    }
    void Message(QWidget&, const QString&, const QString& text) override {
        messages.push_back(text);
    }
    std::vector<QString> messages;

private:
    TQtPrintSystem system_;
};

class CupsPrintCommand : public ::testing::Test, public test::TWindowTest {
protected:
    // The window with the page open and `system` behind its Print items;
    // the PDF its "Normal" item makes the server write, rasterised at
    // `dpi`, or its first picture as it is stored (the files removed), and
    // what the dialog was answered.
    bool PrintNormal(std::unique_ptr<IPrintSystem> system, int dpi, testing::TRgbaPicture* page,
                     testing::TRgbaPicture* picture = nullptr) {
        if (!FromScript(server)) return false;
        window = Start({Write("page.stk", test::PrintedPage())});
        EXPECT_TRUE(test::WaitUntilStopped(*window));
        window->SetPrintCommand(std::make_unique<TQtPrintCommand>(std::move(system)));
        const std::set<std::filesystem::path> before = PdfFiles(server);
        hand = std::make_unique<test::TDialogHand>("OKBtn", *window);
        test::FindAction(*window, "NormallowqualityorA41")->trigger();
        EXPECT_TRUE(hand->seen);
        EXPECT_EQ(hand->choice.printer, server.queue);
        const std::filesystem::path pdf = WaitForPdf(
            server, [&](const std::filesystem::path& file) { return !before.count(file); });
        EXPECT_FALSE(pdf.empty()) << "no PDF arrived in " << server.pdfFolder;
        if (pdf.empty()) return false;
        const bool read =
            page ? testing::RasterisePdf(pdf, dpi, *page) : testing::FirstPdfPicture(pdf, *picture);
        RemovePdf(pdf);
        EXPECT_TRUE(read);
        return read;
    }
    TServer server;
    std::unique_ptr<TQuil3ReaderWin> window;
    std::unique_ptr<test::TDialogHand> hand;
};

// The PDF the server writes shows the picture the print rendering made,
// pixel for pixel, where the dialog placed it.
TEST_F(CupsPrintCommand, TheWindowsPrintCommandPrintsThePageThroughTheServer) {
    if (!FromScript(server)) GTEST_SKIP() << "runs under cups_print_test.sh";
    auto system = std::make_unique<TPrintersAt144>();
    TPrintersAt144& at144 = *system;
    testing::TRgbaPicture page;
    ASSERT_TRUE(PrintNormal(std::move(system), kDpi, &page));
    EXPECT_TRUE(at144.messages.empty()) << at144.messages.front().toStdString();

    QPrinter printer(QPrinter::HighResolution);
    at144.SetUpPrinter(printer);
    const TBitmap expected =
        test::PrintedPicture(window->Player(), {hand->choice.area, hand->choice.target, 1.0f},
                             {printer.width(), printer.height()});
    ASSERT_FALSE(expected.Empty());
    const QRect paint = printer.pageLayout().paintRectPixels(kDpi);
    EXPECT_EQ(testing::LargestDifference(page, paint.left() + hand->choice.target.left,
                                         paint.top() + hand->choice.target.top, expected),
              0);
}

// As the program prints: the system's default printer as Qt makes it, at
// 1200 dots per inch, finer than the page's samples at Normal. The printer
// gets the samples themselves to enlarge: the one picture in the PDF is
// the print rendering's work surface, pixel for pixel.
TEST_F(CupsPrintCommand, AsTheProgramPrintsThePrinterGetsThePagesSamples) {
    if (!FromScript(server)) GTEST_SKIP() << "runs under cups_print_test.sh";
    testing::TRgbaPicture image;
    ASSERT_TRUE(PrintNormal(std::make_unique<TQtPrintSystem>(), 0, nullptr, &image));
    EXPECT_TRUE(hand->messages.empty()) << hand->messages.front().toStdString();

    QPrinter printer(QPrinter::HighResolution);
    ASSERT_GT(hand->choice.target.right - hand->choice.target.left, 1200);
    const TBitmap expected =
        test::PrintedPicture(window->Player(), {hand->choice.area, hand->choice.target, 1.0f},
                             {printer.width(), printer.height()});
    ASSERT_EQ(expected.Width(), 1200);
    ASSERT_EQ(expected.Height(), 800);
    // The Qt printer stores the rows as they lie in memory, bottom row
    // first, and draws them through a flip.
    TBitmap stored;
    ASSERT_TRUE(stored.Create(expected.Width(), expected.Height()));
    for (int y = 0; y < expected.Height(); ++y)
        std::memcpy(stored.ScanLine(y), expected.ScanLine(expected.Height() - 1 - y),
                    size_t(expected.Width()) * 3);
    EXPECT_EQ(testing::LargestDifference(image, 0, 0, stored), 0);
}

}  // namespace
}  // namespace quil
