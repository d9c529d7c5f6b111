// quil-make-demo OUT: writes a demo recording, a page of handwriting-like
// strokes in several colours and widths over a placed background picture, a
// half-transparent highlighter, an eraser stroke, a stamp with white
// (transparent) areas and a grid with subdivisions, packed behind a leading
// block.
//
// quil-make-demo --appended PROGRAM OUT: writes a copy of PROGRAM with the
// same recording appended and the trailer that names it, the way a viewer
// that carries its own recording is delivered.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "recording_writer.h"

namespace {

using quil::fixture::Point;

constexpr double kPi = 3.14159265358979323846;

// A line of cursive loops (a trochoid), as a hand writing "ellelle" would
// leave, with the pen pressing harder on the down strokes.
std::vector<Point> CursiveLine(double x0, double y0, double length, double height, double width,
                               double loops, int samples) {
    std::vector<Point> points;
    for (int i = 0; i <= samples; ++i) {
        double t = double(i) / samples;
        double a = t * loops * 2 * kPi;
        double x = x0 + t * length - 0.35 * height * std::sin(a);
        double y = y0 - height * 0.5 * (1 + std::cos(a)) * (0.8 + 0.2 * std::sin(a * 0.37));
        double r = width * (0.75 + 0.35 * std::cos(a + 0.6));
        points.push_back({x, y, i == samples ? 0.0 : r});
    }
    return points;
}

std::vector<Point> Ellipse(double cx, double cy, double rx, double ry, double width, int samples) {
    std::vector<Point> points;
    for (int i = 0; i <= samples; ++i) {
        // A little more than one turn, as a circling hand overshoots.
        double a = -0.4 + 2.15 * kPi * i / samples;
        double wobble = 1 + 0.04 * std::sin(a * 3);
        points.push_back({cx + rx * wobble * std::cos(a), cy + ry * wobble * std::sin(a),
                          i == samples ? 0.0 : width});
    }
    return points;
}

std::vector<Point> Line(double x0, double y0, double x1, double y1, double width, int samples) {
    std::vector<Point> points;
    for (int i = 0; i <= samples; ++i) {
        double t = double(i) / samples;
        double sag = 3 * std::sin(t * kPi);
        points.push_back(
            {x0 + (x1 - x0) * t, y0 + (y1 - y0) * t + sag, i == samples ? 0.0 : width});
    }
    return points;
}

// A small sun: yellow disc with orange rays on white (white is transparent).
quil::fixture::Picture Sun(int size) {
    quil::fixture::Picture p = quil::fixture::SolidPicture(size, size, 0xFFFFFF);
    const double c = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double dx = x - c, dy = y - c, d = std::sqrt(dx * dx + dy * dy);
            double angle = std::atan2(dy, dx);
            if (d < size * 0.25)
                p.pixels[size_t(y) * size + x] = 0x00D7FF;  // gold (0x00BBGGRR)
            else if (d < size * 0.48 && std::cos(angle * 8) > 0.6)
                p.pixels[size_t(y) * size + x] = 0x008CFF;  // orange
        }
    return p;
}

// Pale paper for the background: a sky that fades to white over two soft
// hills, light enough that the writing stays the thing one reads. Its shape
// is near the page's, so the fitted picture covers the page.
quil::fixture::Picture Paper(int width, int height) {
    quil::fixture::Picture p = quil::fixture::SolidPicture(width, height, 0xFFFFFF);
    auto mix = [](double a, double b, double t) { return a + (b - a) * t; };
    // How much of pixel row y lies below an edge at height `edge`: the hills'
    // outlines are smoothed over one pixel, so they stay soft when enlarged.
    auto below = [](int y, double edge) { return std::clamp(y + 0.5 - edge, 0.0, 1.0); };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double t = double(y) / (height - 1);
            double r = mix(0xE8, 0xFF, t), g = mix(0xF1, 0xFF, t), b = 0xFF;
            const double far = below(y, height * (0.78 - 0.10 * std::sin(x * 0.018 + 0.6)));
            r = mix(r, 0xEA, far), g = mix(g, 0xF4, far), b = mix(b, 0xE3, far);
            const double near = below(y, height * (0.86 - 0.06 * std::sin(x * 0.031 + 2.0)));
            r = mix(r, 0xDD, near), g = mix(g, 0xEE, near), b = mix(b, 0xD6, near);
            p.pixels[size_t(y) * width + x] =
                uint32_t(b + 0.5) << 16 | uint32_t(g + 0.5) << 8 | uint32_t(r + 0.5);
        }
    return p;
}

quil::fixture::Bytes DemoRegion() {
    quil::fixture::Header header;
    header.minor = 8;
    header.pageWidth = 1022;
    header.pageHeight = 718;
    header.title = u"Quil demo page";
    header.extraText = u"Written by quil-make-demo";
    header.gridCellSize = 40u << 16 | 40u;
    header.gridOrigin = 31u << 16 | 31u;
    header.gridCells = 16u << 16 | 24u;
    header.gridSubdivisions = 2u << 16 | 2u;
    header.pointScale = 100;
    quil::fixture::TRecordingWriter w(header);

    // Placed (mode 2), scaled to fit with its aspect kept (placement 0).
    w.Background(2, 0, quil::fixture::EncodeBmp(Paper(256, 180)));
    const uint32_t ink[] = {0x7A3410, 0x202020, 0x1C1CB0, 0x2E7D32};  // 0x00BBGGRR
    // Four lines of writing in different inks and pen widths.
    for (int line = 0; line < 4; ++line) {
        double y = 150 + line * 110;
        double width = 1.2 + 0.5 * line;
        w.Stroke(CursiveLine(90, y, 380, 42, width, 7 + line, 90 + 10 * line),
                 {.color = ink[line], .tag = uint32_t(line + 1)});
        w.Stroke(CursiveLine(520, y + 4, 300, 36, width, 5 + line, 75),
                 {.color = ink[line], .tag = uint32_t(line + 1)});
    }
    // A highlighter over the second line, half transparent.
    w.Stroke(Line(80, 232, 480, 227, 14, 30), {.color = 0x00FFFF, .opacity = 110});
    // Circle a word and underline another.
    w.Stroke(Ellipse(670, 222, 165, 45, 1.6, 60), {.color = 0x0000D0});
    w.Stroke(Line(520, 600, 830, 596, 2.2, 25), {.color = 0x0000D0});
    // An eraser stroke through the end of the last line: it gives back the
    // background where it passes. The pen stores the paper's colour with
    // it, so the vector drawing, which writes every stroke in its own
    // colour, shows it as paper.
    w.Stroke(Line(690, 478, 850, 452, 9, 20), {.color = 0xFFFFFF, .eraser = 1});
    w.Stamp(880, 60, 96, 96, quil::fixture::EncodeBmp(Sun(48)), 255, 99);

    return quil::fixture::LeadingBlock(quil::fixture::Bytes(64, 0),
                                       quil::fixture::Packed(w.Body()));
}

bool ReadProgram(const char* path, quil::fixture::Bytes& bytes) {
    std::ifstream file(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return file.good() || file.eof();
}

}  // namespace

int main(int argc, char** argv) {
    const bool appended = argc == 4 && std::strcmp(argv[1], "--appended") == 0;
    if (argc != 2 && !appended) {
        std::fputs("Usage: quil-make-demo OUT\n       quil-make-demo --appended PROGRAM OUT\n",
                   stderr);
        return 64;
    }
    const char* out = argv[argc - 1];
    quil::fixture::Bytes bytes = DemoRegion();
    if (appended) {
        quil::fixture::Bytes program;
        if (!ReadProgram(argv[2], program) || program.empty()) {
            std::fprintf(stderr, "quil-make-demo: %s: cannot read the program\n", argv[2]);
            return 66;
        }
        bytes = quil::fixture::Appended(program, bytes);
    }
    if (!quil::fixture::WriteFile(out, bytes)) {
        std::fprintf(stderr, "quil-make-demo: %s: cannot write the file\n", out);
        return 70;
    }
    if (appended) {
        using std::filesystem::perms;
        std::error_code error;
        std::filesystem::permissions(out,
                                     perms::owner_exec | perms::group_exec | perms::others_exec,
                                     std::filesystem::perm_options::add, error);
        if (error) return 70;
    }
    return 0;
}
