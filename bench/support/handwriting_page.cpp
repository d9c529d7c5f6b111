#include "handwriting_page.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace quil::bench {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kPageWidth = 1022, kPageHeight = 718;

// One word: `loops` cursive loops over `length` page units, the pen
// pressing harder on the down strokes; the last point lifts the pen.
std::vector<fixture::Point> Word(double x0, double y0, double length, double height, double width,
                                 int loops, int samples) {
    std::vector<fixture::Point> points;
    points.reserve(size_t(samples) + 1);
    for (int i = 0; i <= samples; ++i) {
        const double t = double(i) / samples, a = t * loops * 2 * kPi;
        const double x = x0 + t * length - 0.35 * height * std::sin(a);
        const double y = y0 - height * 0.5 * (1 + std::cos(a)) * (0.8 + 0.2 * std::sin(a * 0.37));
        const double r = width * (0.75 + 0.35 * std::cos(a + 0.6));
        points.push_back({x, y, i == samples ? 0.0 : r});
    }
    return points;
}

}  // namespace

fixture::Bytes HandwritingBody(int points) {
    fixture::Header header;
    header.pointScale = 100;  // minor 8: integer points in hundredths
    fixture::TRecordingWriter writer(header);
    const uint32_t inks[] = {0x7A3410, 0x202020, 0x1C1CB0, 0x2E7D32};  // 0x00BBGGRR
    int written = 0, word = 0, pass = 0;
    double x = 40, y = 70;
    while (written < points) {
        const int loops = 3 + word % 5, samples = std::min(12 * loops, points - written);
        if (samples < 2) break;
        const double length = 14.0 * loops + 6;
        if (x + length > kPageWidth - 30) {
            x = 40 + 7 * (pass % 5);
            y += 34;
        }
        if (y > kPageHeight - 20) {
            ++pass;
            x = 40 + 7 * (pass % 5);
            y = 70 + 5 * (pass % 7);
        }
        const double width = 0.9 + 0.3 * ((word / 7 + pass) % 4);
        writer.Stroke(Word(x, y, length, 22, width, loops, samples - 1),
                      {.color = inks[(word / 11 + pass) % 4]});
        written += samples;
        x += length + 12;
        ++word;
        // A highlighter over the line now and then.
        if (word % 40 == 0 && written + 20 <= points) {
            std::vector<fixture::Point> marker;
            for (int i = 0; i < 20; ++i)
                marker.push_back(
                    {x - 300 + 14.0 * i, y - 8 + std::sin(i * 0.4), i == 19 ? 0 : 6.0});
            writer.Stroke(marker, {.color = 0x00FFFF, .opacity = 110});
            written += 20;
        }
    }
    return writer.Body();
}

}  // namespace quil::bench
