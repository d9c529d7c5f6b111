// Print rendering through the printer interface, with a printer that keeps
// what it is handed: the picture is the off-screen rendering of the same
// area at the same resolution, reduced; where the two roads differ on
// purpose (erasers over background and grid, tiles from the area's corner,
// enlarged stamps), the print's own rule is checked.

#include <gtest/gtest.h>

#include "platform/memory_budget.h"
#include "player_fixture.h"
#include "recording_printer.h"

namespace quil::test {
namespace {

using fixture::TRecordingWriter;
using testing::PixelAt;
using testing::TRecordingPrinter;

// The part (x, y, width x height) of a picture.
TBitmap Crop(const TBitmap& b, int x, int y, int width, int height) {
    TBitmap part;
    part.Create(width, height);
    TCanvas(&part).BitBlt(0, 0, width, height, b, x, y);
    return part;
}

// Strokes whose points lie on quarter units, so that moving them by the
// area's corner changes no bit of their sample coordinates.
std::vector<fixture::Point> Stroke(double x0, double y0, double dx, double dy, double r) {
    std::vector<fixture::Point> points;
    for (int i = 0; i <= 16; ++i)
        points.push_back({x0 + dx * i, y0 + dy * (i % 4), r});
    points.back().radius = 0;
    return points;
}

// A 200 x 150 page with a grid, ink of several widths and opacities and a
// stamp reduced in height: nothing on it that the two roads draw apart.
fixture::Header Page(int width = 200, int height = 150) {
    fixture::Header h = FloatHeader();
    h.pageWidth = width;
    h.pageHeight = height;
    return h;
}

void WriteCommonPage(TRecordingWriter& w) {
    w.Stroke(Stroke(10.5, 20.25, 11.0, 2.5, 3.0), {.color = 0x0000FF});
    w.Stroke(Stroke(30.25, 15.0, 7.5, 6.0, 5.5), {.color = 0x00FF00, .opacity = 128});
    w.Stamp(60.5, 40.25, 30.0, 20.0, fixture::EncodeBmp(fixture::PatternPicture(240, 180)));
    w.Stroke(Stroke(5.0, 50.0, 11.5, 1.25, 2.25), {.color = 0xFF0000, .opacity = 90});
    w.Stroke(Stroke(20.0, 90.0, 9.25, 3.5, 1.75), {.color = 0x202020, .opacity = 200});
    w.Stroke({{140.5, 120.25, 4.0}}, {.color = 0x00A0A0});
}

class PrintRender : public ::testing::Test {
protected:
    TTestFolder folder;

    std::filesystem::path CommonPage() {
        fixture::Header h = Page();
        h.gridCellSize = Pack(20, 15);
        h.gridOrigin = Pack(5, 3);
        TRecordingWriter w(h);
        WriteCommonPage(w);
        return WriteRecording(folder, "common.stk", w);
    }

    // One print through the player; the picture handed over, or none.
    static const TBitmap* Printed(TPlayerRig& rig, TRecordingPrinter& printer,
                                  const TPrintRequest& request) {
        TPrintStatus status = TPrintStatus::NoPage;
        EXPECT_EQ(rig.player->RenderToPrinter(printer, request, &status), 1);
        EXPECT_EQ(status, TPrintStatus::Printed);
        if (printer.jobs.empty() || printer.jobs.back().stretches.size() != 1) return nullptr;
        return &printer.jobs.back().stretches[0].picture;
    }
};

TEST_F(PrintRender, TheWholePageAtNormalIsTheOffScreenPageOneToOne) {
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(CommonPage()), 0);
    for (int position : {rig.player->ElementCount(), 3}) {
        rig.player->GoTo(position, false);
        TRecordingPrinter printer(1200, 1000);
        const TBitmap* picture = Printed(rig, printer, {{0, 0, 200, 150}, {0, 0, 200, 150}, 1.0f});
        ASSERT_NE(picture, nullptr);
        TBitmap page;
        page.Create(200, 150);
        ASSERT_EQ(rig.player->RenderToBitmap(page, true), 1);
        EXPECT_EQ(DifferentPixels(*picture, page), 0) << position;
    }
}

// A quarter of the page gets the pixels of the whole page: the off-screen
// page at twice the size, cut to the area. No stroke crosses the area's
// left or top edge: there sample coordinates turn negative and truncate
// toward zero, so a stroke cut by that edge lands a sample apart from the
// same stroke inside a page.
TEST_F(PrintRender, AnAreaIsTheOffScreenPageAtItsResolutionCutToIt) {
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(CommonPage()), 0);
    TRecordingPrinter printer(1200, 1000);
    const TBitmap* picture = Printed(rig, printer, {{0, 40, 100, 115}, {300, 100, 500, 250}, 1.0f});
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(printer.jobs[0].stretches[0].destination.left, 300);
    EXPECT_EQ(printer.jobs[0].stretches[0].destination.bottom, 250);
    TBitmap page;
    page.Create(400, 300);
    ASSERT_EQ(rig.player->RenderToBitmap(page, true), 1);
    EXPECT_EQ(DifferentPixels(*picture, Crop(page, 0, 80, 200, 150)), 0);
}

// Paused in the middle of a stroke, the print leaves it out as the
// off-screen rendering does, and the replay stays where it was.
TEST_F(PrintRender, AStrokeBeingReplayedIsLeftOutAndThePositionKept) {
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(CommonPage()), 0);
    rig.player->SetReplayStep(2);
    rig.player->Play();
    rig.TickUntil([&] { return rig.player->Position() == 4; });
    rig.ReplayTimer().Tick();
    rig.player->Pause();
    ASSERT_TRUE(rig.player->StrokeInProgress());
    TRecordingPrinter printer(400, 400);
    const TBitmap* picture = Printed(rig, printer, {{0, 0, 200, 150}, {0, 0, 200, 150}, 1.0f});
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(rig.player->StrokeInProgress());
    EXPECT_EQ(rig.player->Position(), 4);
    EXPECT_EQ(rig.player->PlayState(), kPaused);
    TBitmap page;
    page.Create(200, 150);
    rig.player->RenderToBitmap(page, true);
    EXPECT_EQ(DifferentPixels(*picture, page), 0);
}

// The destination (100, 200, 1100, 900) takes the area in 1000 x 700
// printer pixels from (100, 200): at Ultra the work surface of 1600 x 1200
// samples is reduced to a picture of that size. A destination partly off
// the page hands over only the part on it, the same pixels.
TEST_F(PrintRender, AReducedPictureHasTheDestinationsSizeAndOnlyItsPartOnThePage) {
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(CommonPage()), 0);
    TRecordingPrinter big(1200, 1000);
    const TBitmap* whole = Printed(rig, big, {{0, 0, 200, 150}, {100, 200, 1100, 900}, 2.0f});
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->Width(), 1000);
    EXPECT_EQ(whole->Height(), 700);
    EXPECT_EQ(big.jobs[0].stretches[0].destination.left, 100);
    EXPECT_EQ(big.jobs[0].stretches[0].destination.bottom, 900);
    EXPECT_TRUE(big.jobs[0].ended);

    TRecordingPrinter small(700, 600);
    const TBitmap* part = Printed(rig, small, {{0, 0, 200, 150}, {-100, 300, 900, 1000}, 2.0f});
    ASSERT_NE(part, nullptr);
    const TRect on = small.jobs[0].stretches[0].destination;
    EXPECT_EQ(on.left, 0);
    EXPECT_EQ(on.top, 300);
    EXPECT_EQ(on.right, 700);
    EXPECT_EQ(on.bottom, 600);
    EXPECT_EQ(DifferentPixels(*part, Crop(*whole, 100, 0, 700, 300)), 0);

    // Wholly beside the page: an empty page is printed.
    TRecordingPrinter beside(100, 100);
    Printed(rig, beside, {{0, 0, 200, 150}, {200, 0, 400, 150}, 2.0f});
    ASSERT_EQ(beside.jobs.size(), 1u);
    EXPECT_TRUE(beside.jobs[0].stretches.empty());
    EXPECT_TRUE(beside.jobs[0].ended);
}

// At Normal the same destination has more pixels than the work surface of
// 800 x 600 samples: the printer gets the samples themselves (the picture
// handed for a destination of the work surface's own size) to enlarge, for
// the whole destination, also where it runs off the page.
TEST_F(PrintRender, APictureThePrinterEnlargesIsTheWorkSurface) {
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(CommonPage()), 0);
    TRecordingPrinter printer(1000, 800);
    const TBitmap* samples = Printed(rig, printer, {{0, 0, 200, 150}, {0, 0, 800, 600}, 1.0f});
    ASSERT_NE(samples, nullptr);
    for (const TRect d : {TRect{100, 200, 1100, 900}, TRect{-100, 300, 900, 1000}}) {
        const TBitmap* enlarged = Printed(rig, printer, {{0, 0, 200, 150}, d, 1.0f});
        ASSERT_NE(enlarged, nullptr);
        EXPECT_EQ(DifferentPixels(*enlarged, *samples), 0);
        const TRect handed = printer.jobs.back().stretches[0].destination;
        EXPECT_EQ(handed.left, d.left);
        EXPECT_EQ(handed.bottom, d.bottom);
    }
    // Wider than the work surface but not as high: enlarged across,
    // reduced and cut to the page downwards.
    const TBitmap* mixed = Printed(rig, printer, {{0, 0, 200, 150}, {0, 500, 1000, 800}, 1.0f});
    ASSERT_NE(mixed, nullptr);
    EXPECT_EQ(mixed->Width(), 800);
    EXPECT_EQ(mixed->Height(), 300);
}

// Off screen an eraser gives back the background and the grid under it;
// in print it gives back white paper.
TEST_F(PrintRender, AnEraserOverBackgroundAndGridPrintsWhite) {
    fixture::Header h = Page();
    h.gridCellSize = Pack(20, 20);
    TRecordingWriter w(h);
    w.Background(2, 1, fixture::EncodeBmp(fixture::SolidPicture(8, 8, 0x80C0E0)));
    w.Stroke(Stroke(10.0, 40.0, 11.0, 0.0, 3.0), {.color = 0x0000FF});
    w.Stroke(Stroke(10.0, 40.0, 11.0, 0.0, 6.0), {.eraser = 1});
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(WriteRecording(folder, "erase.stk", w)), 0);
    TRecordingPrinter printer(400, 400);
    const TBitmap* picture = Printed(rig, printer, {{0, 0, 200, 150}, {0, 0, 200, 150}, 1.0f});
    ASSERT_NE(picture, nullptr);
    TBitmap page;
    page.Create(200, 150);
    rig.player->RenderToBitmap(page, true);
    const uint32_t background = PixelAt(page, 50, 110);
    EXPECT_FALSE(Near(background, kWhite, 8));
    // (50, 40) is under the eraser, (40, 40) also on a grid line.
    for (const int x : {50, 40}) {
        EXPECT_TRUE(Near(PixelAt(*picture, x, 40), kWhite)) << x;
        EXPECT_FALSE(Near(PixelAt(page, x, 40), kWhite, 8)) << x;
    }
    EXPECT_TRUE(Near(PixelAt(*picture, 50, 110), background));
}

// Tiles of 8 page units in four colours. The area starts at (5, 5): the
// print starts a tile there, the page's tiles are in their third colour.
TEST_F(PrintRender, TilesStartAtTheAreasCorner) {
    fixture::Picture tile = fixture::SolidPicture(8, 8, 0x0000C0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            tile.pixels[size_t(y) * 8 + x] =
                y < 4 ? (x < 4 ? 0x0000C0 : 0x00C000) : (x < 4 ? 0xC00000 : 0xC0C0C0);
    TRecordingWriter w(Page(64, 48));
    w.Background(1, 0, fixture::EncodeBmp(tile));
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(WriteRecording(folder, "tiles.stk", w)), 0);
    // o = 2: tiles of 16 pixels, quadrants of 8.
    TRecordingPrinter printer(400, 400);
    const TBitmap* picture = Printed(rig, printer, {{5, 5, 37, 29}, {0, 0, 64, 48}, 1.0f});
    ASSERT_NE(picture, nullptr);
    const uint32_t topLeft = PixelAt(*picture, 2, 2);
    EXPECT_EQ(PixelAt(*picture, 10, 2), PixelAt(*picture, 26, 2));
    EXPECT_EQ(PixelAt(*picture, 18, 18), topLeft);
    EXPECT_NE(PixelAt(*picture, 10, 2), topLeft);
    EXPECT_NE(PixelAt(*picture, 2, 10), topLeft);
    TBitmap page;
    page.Create(128, 96);
    rig.player->RenderToBitmap(page, true);
    EXPECT_EQ(PixelAt(page, 2, 2), topLeft);
    EXPECT_NE(PixelAt(page, 12, 12), topLeft);  // where the area starts off screen
}

// An enlarged stamp picture is stretched whole: its last column and row
// show (off screen they are left out).
TEST_F(PrintRender, AnEnlargedStampShowsItsWholePicture) {
    fixture::Picture two = fixture::SolidPicture(2, 2, 0);
    two.pixels = {0x0000C0, 0x00C000, 0xC00000, 0x404040};
    TRecordingWriter w(Page(100, 100));
    w.Stamp(10, 10, 4, 4, fixture::EncodeBmp(two));
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(WriteRecording(folder, "stamp.stk", w)), 0);
    TRecordingPrinter printer(400, 400);
    const TBitmap* picture = Printed(rig, printer, {{0, 0, 100, 100}, {0, 0, 100, 100}, 1.0f});
    ASSERT_NE(picture, nullptr);
    // Each picture pixel covers 2 x 2 printed pixels.
    EXPECT_EQ(PixelAt(*picture, 10, 10), MakeColor(0xC0, 0, 0));
    EXPECT_EQ(PixelAt(*picture, 13, 10), MakeColor(0, 0xC0, 0));
    EXPECT_EQ(PixelAt(*picture, 10, 13), MakeColor(0, 0, 0xC0));
    EXPECT_EQ(PixelAt(*picture, 13, 13), MakeColor(0x40, 0x40, 0x40));
    EXPECT_EQ(PixelAt(*picture, 14, 14), kWhite);
}

TEST_F(PrintRender, BusyEventsCountTheWholeRecording) {
    TRecordingWriter w(Page());
    for (int i = 0; i < 33; ++i)
        w.Stroke(Line(10, 150, 5.0 + 3 * i, 4, 1.5));
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(WriteRecording(folder, "long.stk", w)), 0);
    rig.player->GoTo(20, false);
    rig.host.events.clear();
    TRecordingPrinter printer(400, 400);
    ASSERT_NE(Printed(rig, printer, {{0, 0, 200, 150}, {0, 0, 100, 75}, 1.0f}), nullptr);
    const std::vector<std::pair<int, int>> expected = {
        {kEventBusyStart, 33}, {kEventProgress, 16}, {kEventBusyEnd, 0}};
    EXPECT_EQ(rig.host.events, expected);

    // Fifteen elements draw without events.
    TPlayerRig few;
    TRecordingWriter fifteen(Page());
    for (int i = 0; i < 15; ++i)
        fifteen.Stroke(Line(10, 150, 5.0 + 3 * i, 4, 1.5));
    ASSERT_EQ(few.Open(WriteRecording(folder, "fifteen.stk", fifteen)), 0);
    few.host.events.clear();
    ASSERT_NE(Printed(few, printer, {{0, 0, 200, 150}, {0, 0, 100, 75}, 1.0f}), nullptr);
    EXPECT_TRUE(few.host.events.empty());
}

// Sets a memory ceiling for a scope.
struct TCeiling {
    explicit TCeiling(uint64_t bytes) { SetMemoryCeiling(bytes); }
    ~TCeiling() { SetMemoryCeiling(0); }
};

TEST_F(PrintRender, RefusedPrintsSayWhyAndStartNoJob) {
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(CommonPage()), 0);
    const struct {
        TRect area, destination;
        float scale;
        TPrintStatus status;
    } cases[] = {
        {{10, 10, 10, 50}, {0, 0, 100, 100}, 1.0f, TPrintStatus::EmptyArea},
        {{10, 50, 90, 20}, {0, 0, 100, 100}, 1.0f, TPrintStatus::EmptyArea},
        {{0, 0, 200, 150}, {50, 0, 50, 100}, 1.0f, TPrintStatus::EmptyArea},
        {{0, 0, 200, 150}, {0, 100, 100, 0}, 1.0f, TPrintStatus::EmptyArea},
        {{0, 0, 200, 150}, {0, 0, 100, 100}, 0.0f, TPrintStatus::EmptyArea},
    };
    TRecordingPrinter printer(400, 400);
    for (const auto& c : cases) {
        TPrintStatus status = TPrintStatus::Printed;
        EXPECT_EQ(rig.player->RenderToPrinter(printer, {c.area, c.destination, c.scale}, &status),
                  0);
        EXPECT_EQ(status, c.status);
    }
    EXPECT_TRUE(printer.jobs.empty());

    // A printer that cannot start a job, or whose system does not take it.
    TPrintStatus status = TPrintStatus::Printed;
    const TPrintRequest request{{0, 0, 200, 150}, {0, 0, 100, 100}, 1.0f};
    printer.refuseBegin = true;
    EXPECT_EQ(rig.player->RenderToPrinter(printer, request, &status), 0);
    EXPECT_EQ(status, TPrintStatus::Refused);
    EXPECT_TRUE(printer.jobs.empty());
    printer.refuseBegin = false;
    printer.refuseEnd = true;
    EXPECT_EQ(rig.player->RenderToPrinter(printer, request, &status), 0);
    EXPECT_EQ(status, TPrintStatus::Refused);
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.strayStretches, 0);

    // Without a recording there is nothing to print.
    TPlayerRig empty;
    EXPECT_EQ(empty.player->RenderToPrinter(printer, request, &status), 0);
    EXPECT_EQ(status, TPrintStatus::NoPage);
}

// A page of 1022 x 718 at Ultra needs some 200 MB of surfaces: with no
// memory to spare it is refused before anything is drawn, and a small
// print still goes.
TEST_F(PrintRender, AWorkSurfaceBeyondMemoryIsRefusedBeforeDrawing) {
    TRecordingWriter w(Page(1022, 718));
    for (int i = 0; i < 20; ++i)
        w.Stroke(Line(10, 1000, 20.0 + 30 * i, 4, 2.0));
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(WriteRecording(folder, "large.stk", w)), 0);
    rig.host.events.clear();
    TRecordingPrinter printer(5000, 7000);
    TPrintStatus status = TPrintStatus::Printed;
    {
        const TCeiling ceiling(1);
        EXPECT_EQ(rig.player->RenderToPrinter(
                      printer, {{0, 0, 1022, 718}, {0, 0, 4000, 2800}, 2.0f}, &status),
                  0);
        EXPECT_EQ(status, TPrintStatus::TooLarge);
        EXPECT_TRUE(printer.jobs.empty());
        EXPECT_TRUE(rig.host.events.empty());
        // A small area at a low scale fits in what is allowed without looking.
        EXPECT_EQ(rig.player->RenderToPrinter(printer, {{0, 0, 1022, 718}, {0, 0, 300, 200}, 0.25f},
                                              &status),
                  1);
    }
    EXPECT_EQ(printer.jobs.size(), 1u);
}

// A print asked for while the player draws is refused; the drawing goes on.
TEST_F(PrintRender, APrintDuringADrawingIsRefused) {
    TRecordingWriter w(Page());
    for (int i = 0; i < 40; ++i)
        w.Stroke(Line(10, 150, 5.0 + 3 * i, 4, 1.5));
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(WriteRecording(folder, "busy.stk", w)), 0);
    TRecordingPrinter printer(400, 400);
    TPrintStatus status = TPrintStatus::Printed;
    int result = -1;
    rig.host.during = [&](int code, int) {
        if (code == kEventProgress && result < 0)
            result = rig.player->RenderToPrinter(printer, {{0, 0, 200, 150}, {0, 0, 100, 75}, 1.0f},
                                                 &status);
    };
    TBitmap page;
    page.Create(200, 150);
    EXPECT_EQ(rig.player->RenderToBitmap(page, true), 1);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(status, TPrintStatus::NoPage);
    EXPECT_TRUE(printer.jobs.empty());
}

}  // namespace
}  // namespace quil::test
