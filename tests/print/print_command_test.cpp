// The Print items of the window on the offscreen platform, through the
// print command with the dialog driven by the test and a PDF file for a
// printer: no printer, printing at each quality, cancelling, and prints
// that do not go out.

#include <gtest/gtest.h>

#include <QAction>
#include <QPageSize>
#include <QPrinter>

#include "app/print_command_rules.h"
#include "app/qt_print_command.h"
#include "pdf_page.h"
#include "platform/memory_budget.h"
#include "print_command_fixture.h"
#include "printed_page.h"
#include "window_fixture.h"

namespace quil::test {
namespace {

constexpr int kDpi = 144;

// A system whose printer is a PDF file, Letter at 144 dots per inch (a
// pixel is half a point, so the rasterised page lays the picture pixel for
// pixel); messages are kept.
struct TPdfSystemLog {
    bool hasPrinter = true;
    std::filesystem::path pdf;
    int dpi = kDpi;
    std::vector<std::pair<QString, QString>> messages;
};

class TPdfSystem final : public IPrintSystem {
public:
    explicit TPdfSystem(TPdfSystemLog& log) : log_(log) {}
    bool HasPrinter() override { return log_.hasPrinter; }
    void SetUpPrinter(QPrinter& printer) override {
        testing::MakePdfPrinter(printer, log_.pdf, log_.dpi, QPageSize::Letter);
    }
    void Message(QWidget&, const QString& caption, const QString& text) override {
        log_.messages.emplace_back(caption, text);
    }

private:
    TPdfSystemLog& log_;
};

class PrintCommand : public ::testing::Test, public TWindowTest {
protected:
    std::unique_ptr<TQuil3ReaderWin> Opened(int extra = 0) {
        auto window = Start({Write("page.stk", PrintedPage(extra))});
        EXPECT_TRUE(WaitUntilStopped(*window));
        log.pdf = folder / "printed.pdf";
        window->SetPrintCommand(
            std::make_unique<TQtPrintCommand>(std::make_unique<TPdfSystem>(log)));
        return window;
    }
    // Plays the replay for a while: the print comes in the middle of it.
    static void Replaying(TQuil3ReaderWin& window) {
        window.Player().SetReplayStep(1);
        window.Player().Play();
        WaitFor([&] { return window.Player().Position() >= 3; });
    }
    // The printable area of the PDF printer, in its pixels.
    static QRect PaintRect(int dpi = kDpi) {
        QPrinter printer(QPrinter::HighResolution);
        testing::MakePdfPrinter(printer, "unused.pdf", dpi, QPageSize::Letter);
        return printer.pageLayout().paintRectPixels(dpi);
    }
    TPdfSystemLog log;
};

TEST_F(PrintCommand, WithoutAPrinterItSaysSoAndTheReplayGoesOn) {
    auto window = Opened();
    log.hasPrinter = false;
    Replaying(*window);
    TDialogHand hand("OKBtn", *window);
    FindAction(*window, "NormallowqualityorA41")->trigger();
    EXPECT_FALSE(hand.seen);
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(log.messages[0].first, "Message");
    EXPECT_EQ(log.messages[0].second, "Cannot find printer(s).");
    EXPECT_EQ(window->Player().PlayState(), kPlaying);
    EXPECT_FALSE(std::filesystem::exists(log.pdf));
}

// Each item prints the page as drawn so far, at its quality, where the
// dialog placed it, and leaves the replay paused: the PDF's page shows the
// picture the print rendering makes at that item's scale, pixel for pixel.
TEST_F(PrintCommand, EachItemPrintsThePageAsDrawnSoFarAtItsQuality) {
    const struct {
        const char* item;
        float scale;
    } items[] = {
        {"Highquality1", 2.0f}, {"NormalqualityA1orunder1", 1.5f}, {"NormallowqualityorA41", 1.0f}};
    auto window = Opened();
    const QRect paint = PaintRect();
    for (const auto& item : items) {
        std::filesystem::remove(log.pdf);
        Replaying(*window);
        TDialogHand hand("OKBtn", *window);
        FindAction(*window, item.item)->trigger();
        ASSERT_TRUE(hand.seen) << item.item;
        EXPECT_TRUE(log.messages.empty()) << item.item;
        TQuil3Reader& player = window->Player();
        EXPECT_EQ(player.PlayState(), kPaused) << item.item;

        // The preview is the page at that position, aspect kept; the
        // dialog sits in the middle of the window.
        TBitmap preview;
        preview.Create(400, 280);
        player.RenderToBitmap(preview, false);
        EXPECT_EQ(std::memcmp(preview.Bits(), hand.preview.Bits(), preview.ByteSize()), 0);
        const QRect frame = window->frameGeometry();
        const TPoint centre = CentredDialogPosition(
            {frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1},
            {hand.size.width(), hand.size.height()});
        EXPECT_EQ(hand.position, QPoint(centre.x, centre.y)) << item.item;
        // The whole preview chosen: the whole page.
        EXPECT_EQ(hand.choice.area.right, 300);
        EXPECT_EQ(hand.choice.area.bottom, 200);

        const TBitmap expected =
            PrintedPicture(player, {hand.choice.area, hand.choice.target, item.scale},
                           {paint.width(), paint.height()});
        ASSERT_FALSE(expected.Empty());
        testing::TRgbaPicture page;
        ASSERT_TRUE(testing::RasterisePdf(log.pdf, kDpi, page)) << item.item;
        EXPECT_EQ(testing::LargestDifference(page, paint.left() + hand.choice.target.left,
                                             paint.top() + hand.choice.target.top, expected),
                  0)
            << item.item;
    }
}

// The same page through a road that shares nothing with the print's
// reduction: the off-screen rendering at the target's size. At 72 dots per
// inch the page at Ultra is reduced by about four to the target, as the
// off-screen rendering reduces its own work surface, so both draw at
// nearly one resolution; where a stroke's overlapping joints and edges fall
// a sample apart, 8 x 8 blocks of pixels still agree. A long page: the
// window's commands are off while the print draws.
TEST_F(PrintCommand, ThePrintedPageIsTheOffScreenPageWhereTheTargetSays) {
    constexpr int kCoarse = 72;
    auto window = Opened(40);
    log.dpi = kCoarse;
    TDialogHand hand("OKBtn", *window);
    FindAction(*window, "Highquality1")->trigger();
    ASSERT_TRUE(hand.seen);
    EXPECT_TRUE(hand.sawBusy);
    EXPECT_FALSE(hand.commandsOn);
    EXPECT_TRUE(FindAction(*window, "ActionPlay")->isEnabled());

    const TRect t = hand.choice.target;
    TBitmap offScreen;
    ASSERT_TRUE(offScreen.Create(t.right - t.left, t.bottom - t.top));
    window->Player().RenderToBitmap(offScreen, true);
    testing::TRgbaPicture page;
    ASSERT_TRUE(testing::RasterisePdf(log.pdf, kCoarse, page));
    const QRect paint = PaintRect(kCoarse);
    const int x = paint.left() + t.left, y = paint.top() + t.top;
    EXPECT_LE(testing::LargestBlockDifference(page, x, y, offScreen), 20);

    // Beside it the page is blank.
    TBitmap white;
    white.Create(offScreen.Width(), 4);
    EXPECT_EQ(testing::LargestDifference(page, x, y + offScreen.Height() + 2, white), 0);
}

TEST_F(PrintCommand, CancellingPrintsNothingAndLeavesTheReplayPaused) {
    auto window = Opened();
    Replaying(*window);
    const int position = window->Player().Position();
    TDialogHand hand("CancelBtn2", *window);
    FindAction(*window, "NormallowqualityorA41")->trigger();
    ASSERT_TRUE(hand.seen);
    EXPECT_EQ(window->Player().PlayState(), kPaused);
    EXPECT_EQ(window->Player().Position(), position);
    EXPECT_FALSE(std::filesystem::exists(log.pdf));
    EXPECT_TRUE(log.messages.empty());
}

// A job the printer cannot start and a print beyond memory are reported;
// nothing is printed.
TEST_F(PrintCommand, APrintThatDoesNotGoOutIsReported) {
    auto window = Opened();
    log.pdf = folder / "no such folder" / "printed.pdf";
    {
        TDialogHand hand("OKBtn", *window);
        FindAction(*window, "NormallowqualityorA41")->trigger();
        ASSERT_TRUE(hand.seen);
    }
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(log.messages[0].first, "Message");
    EXPECT_EQ(log.messages[0].second.toStdString(), PrintResultMessage(TPrintStatus::Refused));

    log.pdf = folder / "printed.pdf";
    {
        // No memory to spare beyond what small pictures take unchecked.
        struct TCeiling {
            TCeiling() { SetMemoryCeiling(1); }
            ~TCeiling() { SetMemoryCeiling(0); }
        } ceiling;
        TDialogHand hand("OKBtn", *window);
        FindAction(*window, "Highquality1")->trigger();
        ASSERT_TRUE(hand.seen);
    }
    ASSERT_EQ(log.messages.size(), 2u);
    EXPECT_EQ(log.messages[1].second.toStdString(), PrintResultMessage(TPrintStatus::TooLarge));
    EXPECT_FALSE(std::filesystem::exists(log.pdf));
}

TEST(PrintCommandRules, QualityPositionAndMessages) {
    EXPECT_EQ(QualityFactor(200), 2.0f);
    EXPECT_EQ(QualityFactor(150), 1.5f);
    EXPECT_EQ(QualityFactor(100), 1.0f);
    // ((window width - dialog width) >> 1) + window left.
    const TPoint at = CentredDialogPosition({100, 50, 900, 650}, {473, 465});
    EXPECT_EQ(at.x, ((800 - 473) >> 1) + 100);
    EXPECT_EQ(at.y, ((600 - 465) >> 1) + 50);
    // A window smaller than the dialog puts it up and to the left.
    EXPECT_EQ(CentredDialogPosition({0, 0, 400, 400}, {473, 465}).x, -37);
    EXPECT_EQ(PrintResultMessage(TPrintStatus::Printed), nullptr);
    for (const TPrintStatus s : {TPrintStatus::NoPage, TPrintStatus::EmptyArea,
                                 TPrintStatus::TooLarge, TPrintStatus::Refused})
        EXPECT_NE(PrintResultMessage(s), nullptr);
}

}  // namespace
}  // namespace quil::test
