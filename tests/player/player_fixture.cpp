#include "player_fixture.h"

#include <cstring>

namespace quil::test {

int TRecordingHost::Count(int code) const {
    int n = 0;
    for (const auto& e : events)
        n += e.first == code;
    return n;
}

bool TRecordingHost::Has(int code, int value) const {
    for (const auto& e : events)
        if (e.first == code && e.second == value) return true;
    return false;
}

fixture::Header FloatHeader() {
    fixture::Header h;
    h.generation = fixture::Generation::Qui3;
    h.minor = 6;
    return h;
}

std::filesystem::path WriteRecording(const TTestFolder& folder, const std::string& name,
                                     const fixture::TRecordingWriter& writer) {
    return folder.Write(name, writer.Body());
}

std::vector<fixture::Point> Line(double x0, double x1, double y, int count, double r,
                                 bool keepRadius) {
    std::vector<fixture::Point> points;
    for (int i = 0; i < count; ++i) {
        const double t = count > 1 ? double(i) / (count - 1) : 0.0;
        points.push_back({x0 + (x1 - x0) * t, y + 3.0 * (i % 3), r});
    }
    if (!keepRadius) points.back().radius = 0;
    return points;
}

void WriteMixedPage(fixture::TRecordingWriter& w) {
    w.Stroke(Line(10.5, 180.25, 20.5, 40, 3.0), {.color = 0x0000FF});
    w.Stroke(Line(30.25, 150.75, 15.0, 30, 5.5), {.color = 0x00FF00, .opacity = 128});
    fixture::Picture stamp = fixture::PatternPicture(12, 10);
    for (int y = 3; y < 7; ++y)
        for (int x = 2; x < 9; ++x)
            stamp.pixels[size_t(y) * 12 + x] = 0xFFFFFF;
    w.Stamp(60.5, 40.25, 30.0, 22.0, fixture::EncodeBmp(stamp));
    w.Stroke(Line(5.0, 190.0, 50.0, 50, 2.25), {.color = 0xFF0000, .opacity = 90});
    w.Stroke(Line(40.0, 120.0, 30.0, 25, 4.0), {.eraser = 1});
    w.Stamp(150.0, 100.0, 6.0, 4.0, fixture::EncodeBmp(fixture::PatternPicture(24, 16)));
    w.Stroke(Line(100.0, 110.0, 60.0, 8, 6.0), {.color = 0x00A0A0, .opacity = 60});
    // The last stroke ends without a pen lift.
    w.Stroke(Line(20.0, 170.0, 90.0, 60, 1.75, true), {.color = 0x202020, .opacity = 200});
}

TPlayerRig::TPlayerRig(int quality, int width, int height) {
    player = std::make_unique<TQuil3ReaderC>(timers, host, &window, 0, 0);
    player->SetLayout(&window, width, height, 1.0f, 0.0f, 0.0f);
    player->SetQuality(quality);
}

int TPlayerRig::Open(const std::filesystem::path& path, bool show) {
    const int rc = player->Open(path);
    if (rc == 0 && show) player->Show(true);
    return rc;
}

TManualTimer& TPlayerRig::ReplayTimer() const { return *timers.WithInterval(33); }

bool SamePixels(const TBitmap& a, const TBitmap& b) { return DifferentPixels(a, b) == 0; }

int DifferentPixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.BitsPerPixel() != b.BitsPerPixel())
        return -1;
    int n = 0;
    const int bpp = a.BytesPerPixel();
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            n += std::memcmp(a.ScanLine(y) + x * bpp, b.ScanLine(y) + x * bpp, size_t(bpp)) != 0;
    return n;
}

}  // namespace quil::test
