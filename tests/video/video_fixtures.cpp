#include "video_fixtures.h"

#include <cstdlib>

namespace quil::test {

namespace {

std::vector<fixture::Point> Zigzag(double x0, double x1, double y, int count, double r) {
    std::vector<fixture::Point> points;
    for (int i = 0; i < count; ++i)
        points.push_back({x0 + (x1 - x0) * i / (count - 1), y + 6.0 * (i % 2), r});
    points.back().radius = 0;
    return points;
}

fixture::Header PageHeader(int width, int height) {
    fixture::Header h;
    h.generation = fixture::Generation::Qui3;
    h.minor = 6;
    h.pageWidth = width;
    h.pageHeight = height;
    return h;
}

}  // namespace

std::vector<uint8_t> PageRecording(int width, int height, bool grid) {
    fixture::Header h = PageHeader(width, height);
    if (grid) h.gridCellSize = 25 | (25u << 16);
    fixture::TRecordingWriter w(h);
    w.Stroke(Zigzag(10, 290, 40, 30, 4.0), {.color = 0x0000FF});
    w.Stroke(Zigzag(20, 250, 90, 40, 6.0), {.color = 0x00AA00, .opacity = 120});
    w.Stamp(120, 120, 40, 30, fixture::EncodeBmp(fixture::PatternPicture(8, 6, 4)));
    w.Stroke(Zigzag(30, 270, 150, 50, 3.0), {.color = 0x400000});
    return w.Body();
}

std::vector<uint8_t> EmptyRecording() {
    fixture::TRecordingWriter w(PageHeader(300, 200));
    return w.Body();
}

int64_t TicksDue(int64_t frame, int fps) { return frame * 1000 / (33 * int64_t(fps)); }

double MeanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size() || a.empty()) return -1;
    uint64_t sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += uint64_t(std::abs(int(a[i]) - int(b[i])));
    return double(sum) / double(a.size());
}

}  // namespace quil::test
