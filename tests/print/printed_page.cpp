#include "printed_page.h"

#include "recording_printer.h"

namespace quil::test {

fixture::Bytes PrintedPage(int extra) {
    fixture::Header h;
    h.generation = fixture::Generation::Qui3;
    h.minor = 6;
    h.pageWidth = 300;
    h.pageHeight = 200;
    h.gridCellSize = 25u << 16 | 20u;
    h.gridOrigin = 4u << 16 | 6u;
    fixture::TRecordingWriter w(h);
    const auto stroke = [&](double x0, double y0, double dx, double dy, double r, uint32_t colour,
                            uint32_t opacity) {
        std::vector<fixture::Point> points;
        for (int i = 0; i <= 16; ++i)
            points.push_back({x0 + dx * i, y0 + dy * (i % 4), i == 16 ? 0.0 : r});
        w.Stroke(points, {.color = colour, .opacity = opacity});
    };
    stroke(12.5, 30.25, 16.5, 4.5, 3.0, 0x0000FF, 255);
    stroke(40.25, 20.0, 12.0, 9.0, 6.5, 0x00C000, 128);
    // Colours that change smoothly, around a white (transparent) hole; large
    // enough to be reduced at every quality.
    constexpr int kWidth = 640, kHeight = 440;
    fixture::Picture stamp = fixture::SolidPicture(kWidth, kHeight, 0);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const bool hole = x > 240 && x < 400 && y > 160 && y < 280;
            stamp.pixels[size_t(y) * kWidth + x] =
                hole ? 0xFFFFFF
                     : uint32_t(x * 255 / kWidth) | uint32_t(y * 255 / kHeight) << 8 | 0x400000;
        }
    w.Stamp(150.5, 60.25, 60.0, 40.0, fixture::EncodeBmp(stamp));
    stroke(8.0, 120.0, 17.25, 2.25, 1.75, 0x802020, 200);
    stroke(30.0, 160.0, 15.5, 5.0, 4.25, 0x101010, 255);
    for (int i = 0; i < extra; ++i)
        stroke(20.0 + 8 * (i % 30), 185.0, 0.25, 0.5, 1.0, 0x204080, 255);
    return w.Body();
}

TBitmap PrintedPicture(TQuil3Reader& player, const TPrintRequest& request, TSize page) {
    testing::TRecordingPrinter printer(page.width, page.height);
    player.RenderToPrinter(printer, request);
    if (printer.jobs.empty() || printer.jobs[0].stretches.empty()) return {};
    return std::move(printer.jobs[0].stretches[0].picture);
}

}  // namespace quil::test
