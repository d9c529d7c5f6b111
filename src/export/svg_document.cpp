#include "export/svg_document.h"

#include <cmath>
#include <limits>
#include <utility>

#include "export/base64.h"
#include "export/png_writer.h"
#include "model/document.h"

namespace quil {

namespace {

// Truncation toward zero that stays defined for any float a file can hold:
// NaN gives 0 and values beyond the int range stop at its ends.
int TruncToInt(double v) {
    if (std::isnan(v))
        return 0;
    if (v >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (v <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(v);
}

// A length in page units as the integer number of tenths that is written.
int Tenths(float v) { return TruncToInt(v * 10.0f); }

// 10 * v for values that are whole page units already, kept defined near
// the int range.
int TimesTen(int64_t v) { return TruncToInt(double(v) * 10.0); }

void WriteHeader(TSvgStream& out, int width, int height) {
    out.Put("<?xml version=\"1.0\" standalone=\"no\"?>\n");
    out.Put("<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
            "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n");
    out.Format("<svg width=\"%dpx\" height=\"%dpx\" viewBox=\"0 0 %d %d\" "
               "xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\">\n",
               width, height, TimesTen(width), TimesTen(height));
}

// Puts the base64 text of a PNG; marks the stream when the picture did not
// encode, so no image with empty data is ever written as a success.
void PutPngData(TSvgStream& out, const std::vector<uint8_t>& png) {
    if (png.empty()) {
        out.Fail();
        return;
    }
    out.Put(EncodeBase64(png.data(), png.size()));
}

struct TPlacedRect {
    int x, y, width, height;  // as written, tenths
};

TPlacedRect PlaceBackground(int pageWidth, int pageHeight, int placement, int bw, int bh) {
    switch (placement) {
    case 0: {
        const double k = double(bw) / bh > double(pageWidth) / pageHeight ? double(pageWidth) / bw
                                                                            : double(pageHeight) / bh;
        const int x = TruncToInt((pageWidth - bw * k) * 0.5);
        const int y = TruncToInt((pageHeight - bh * k) * 0.5);
        return {TimesTen(x), TimesTen(y), TruncToInt(bw * k * 10), TruncToInt(bh * k * 10)};
    }
    case 1:
        return {0, 0, TimesTen(pageWidth), TimesTen(pageHeight)};
    case 2: {
        const int x = int((int64_t(pageWidth) - bw) / 2);
        const int y = int((int64_t(pageHeight) - bh) / 2);
        return {TimesTen(x), TimesTen(y), TimesTen(bw), TimesTen(bh)};
    }
    default:
        return {0, 0, TimesTen(bw), TimesTen(bh)};
    }
}

struct TGrid {
    int cw, ch, ox, oy, n, m, qx, qy;
};

// Low half unsigned, high half the word shifted arithmetically.
int LowHalf(uint32_t word) { return int(word & 0xFFFF); }
int HighHalf(uint32_t word) { return int32_t(word) >> 16; }

int64_t GridLineCount(const TGrid& g) {
    int64_t lines = std::max(0, g.n + 1) + std::max(0, g.m + 1);
    if (g.qx > 1)
        lines += int64_t(std::max(0, g.n)) * (g.qx - 1);
    if (g.qy > 1)
        lines += int64_t(std::max(0, g.m)) * (g.qy - 1);
    return lines;
}

void WriteGridLine(TSvgStream& out, int x1, int y1, int x2, int y2, int width) {
    out.Format("\t<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke-width=\"%d\"/>\n", x1, y1, x2,
               y2, width);
}

void WriteGridLines(TSvgStream& out, const TGrid& g) {
    int x0 = g.ox, x1 = TruncToInt(float(g.cw) * float(g.n) + float(g.ox));
    int y0 = g.oy, y1 = TruncToInt(float(g.ch) * float(g.m) + float(g.oy));
    if (y0 > y1)
        std::swap(y0, y1);
    if (x0 > x1)
        std::swap(x0, x1);
    const int major = g.qx > 1 || g.qy > 1 ? 60 : 10;

    for (int i = 0; i <= g.n; ++i) {
        const int64_t x = int64_t(i) * g.cw + g.ox;
        WriteGridLine(out, TimesTen(x), TimesTen(y0), TimesTen(x), TimesTen(y1), major);
    }
    for (int i = 0; i <= g.m; ++i) {
        const int64_t y = int64_t(i) * g.ch + g.oy;
        WriteGridLine(out, TimesTen(x0), TimesTen(y), TimesTen(x1), TimesTen(y), major);
    }
    if (g.qx > 1) {
        const float step = float(g.cw) / float(g.qx);
        for (int j = 0; j < g.n; ++j) {
            const int64_t base = int64_t(j) * g.cw + g.ox;
            for (int t = 1; t < g.qx; ++t) {
                const int x = Tenths(float(t) * step + float(base));
                WriteGridLine(out, x, TimesTen(y0), x, TimesTen(y1), 10);
            }
        }
    }
    if (g.qy > 1) {
        const float step = float(g.ch) / float(g.qy);
        for (int j = 0; j < g.m; ++j) {
            const int64_t base = int64_t(j) * g.ch + g.oy;
            for (int t = 1; t < g.qy; ++t) {
                const int y = Tenths(float(t) * step + float(base));
                WriteGridLine(out, TimesTen(x0), y, TimesTen(x1), y, 10);
            }
        }
    }
}

// One end of a hull: the two touching points of the outer tangents on the
// disc (x, y, r), given the shared direction terms of the pair.
struct TTangentPoints {
    float x1, y1, x2, y2;
};

TTangentPoints TangentPoints(float x, float y, float r, float k, float c, float dx, float dy,
                             float d2) {
    const float u = r * k;
    const float cx = x + u * dx;
    const float cy = y + u * dy;
    if (d2 < 0.005f)
        return {cx, cy, cx, cy};
    // Rounding can push the radicand a hair below zero when the discs
    // almost touch internally; the true value there is zero.
    const float radicand = (r * r - (r * c) * (r * c)) / d2;
    const float s = radicand > 0.0f ? float(std::sqrt(double(radicand))) : 0.0f;
    return {cx - dy * s, cy + dx * s, cx + dy * s, cy - dx * s};
}

void WriteStroke(TSvgStream& out, const TStrokeDataWT& stroke) {
    const uint32_t color = stroke.color;
    const unsigned r = color & 255, g = (color >> 8) & 255, b = (color >> 16) & 255;
    out.Format("<g style=\"fill:#%02X%02X%02X;opacity:%.2f;stroke:#%02X%02X%02X;stroke-width:0\">\n",
               r, g, b, double(stroke.opacity) / 255.0, r, g, b);
    // The chain is walked through the links so that the replay's point
    // cursor stays where it is.
    const TPenReplayPointWT* first = stroke.firstPoint;
    if (first) {
        WriteDisc(out, first->x, first->y, first->radius);
        const TPenReplayPointWT* last = first;
        const TPenReplayPointWT* prev = first;
        float run = 0.0f;
        for (const TPenReplayPointWT* p = first->next; p; p = p->next) {
            const float dx = p->x - prev->x, dy = p->y - prev->y;
            run += float(std::sqrt(double(dx * dx + dy * dy)));
            // Points are merged until the pen has moved more than one page
            // unit; the lifting point (radius 0) is always written.
            if (run > 1.0f || p->radius == 0.0f) {
                WriteHull(out, last->x, last->y, last->radius, p->x, p->y, p->radius);
                run = 0.0f;
                last = p;
            }
            prev = p;
        }
    }
    out.Put("</g>\n");
}

void WriteStamp(TSvgStream& out, const TStampDataWT& stamp) {
    out.Format("<image x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" xlink:href=\"data:image/png;base64,",
               Tenths(stamp.x), Tenths(stamp.y), Tenths(stamp.width), Tenths(stamp.height));
    PutPngData(out, EncodePngWhiteTransparent(stamp.picture));
    out.Put("\"/>\n");
}

}  // namespace

void WriteDisc(TSvgStream& out, float x, float y, float r) {
    out.Format("\t<circle cx=\"%d\" cy=\"%d\" r=\"%d\"/>\n", Tenths(x), Tenths(y), Tenths(r));
}

void WriteHull(TSvgStream& out, float x0, float y0, float r0, float x1, float y1, float r1) {
    const float dr = r0 - r1;
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const float d2 = dx * dx + dy * dy;
    const float d = float(std::sqrt(double(d2)));
    if (!(std::fabs(dr) > d)) {
        const float k = d > 0.5f ? dr / d2 : 0.0f;
        const float c = d > 0.5f ? k * d : 0.0f;  // cosine of the tangent angle
        const TTangentPoints p = TangentPoints(x0, y0, r0, k, c, dx, dy, d2);
        const TTangentPoints q = TangentPoints(x1, y1, r1, k, c, dx, dy, d2);
        out.Format("\t<polygon points=\"%d,%d %d,%d %d,%d %d,%d\"/>\n", Tenths(p.x1), Tenths(p.y1),
                   Tenths(q.x1), Tenths(q.y1), Tenths(q.x2), Tenths(q.y2), Tenths(p.x2),
                   Tenths(p.y2));
    }
    WriteDisc(out, x1, y1, r1);
}

void WriteSvgBackground(TSvgStream& out, int pageWidth, int pageHeight, int mode, int placement,
                        const TBitmap& picture) {
    if (mode == 0 || picture.Empty())
        return;
    const int bw = picture.Width(), bh = picture.Height();
    if (mode == 1) {
        out.Format("<defs><pattern id=\"GndImage\" patternUnits=\"userSpaceOnUse\" x=\"0\" y=\"0\" "
                   "width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\">\n",
                   TimesTen(bw), TimesTen(bh), TimesTen(bw), TimesTen(bh));
        out.Format("<image width=\"%d\" height=\"%d\" xlink:href=\"data:image/png;base64,",
                   TimesTen(bw), TimesTen(bh));
        PutPngData(out, EncodePngRgb(picture));
        out.Put("\"/>\n</pattern></defs>\n");
        out.Format("<rect fill=\"url(#GndImage)\" stroke-width=\"0\" x=\"0\" y=\"0\" width=\"%d\" "
                   "height=\"%d\"/>\n",
                   TimesTen(pageWidth), TimesTen(pageHeight));
        return;
    }
    const TPlacedRect r = PlaceBackground(pageWidth, pageHeight, placement, bw, bh);
    out.Format("<image x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" ", r.x, r.y, r.width, r.height);
    out.Put("xlink:href=\"data:image/png;base64,");
    PutPngData(out, EncodePngRgb(picture));
    out.Put("\"/>\n");
}

void WriteSvgGrid(TSvgStream& out, uint32_t cellSize, uint32_t origin, uint32_t cells,
                  uint32_t subdivisions) {
    if (cellSize == 0)
        return;
    const TGrid grid{LowHalf(cellSize), HighHalf(cellSize), LowHalf(origin),      HighHalf(origin),
                     LowHalf(cells),    HighHalf(cells),    LowHalf(subdivisions), HighHalf(subdivisions)};
    // Sixteen bits each for columns and subdivisions could ask for billions
    // of lines; no page shows that many, and writing them would exhaust
    // memory, so such a grid fails the export instead.
    if (GridLineCount(grid) > kMaxSvgGridLines) {
        out.Fail();
        return;
    }
    out.Put("<g stroke=\"#FFBDBD\">\n");
    WriteGridLines(out, grid);
    out.Put("</g>\n");
}

void WriteSvgDocument(const TPenReplayWT& document, TSvgStream& out) {
    WriteHeader(out, document.pageWidth, document.pageHeight);
    if (document.backgroundMode != 0 && document.background)
        WriteSvgBackground(out, document.pageWidth, document.pageHeight, document.backgroundMode,
                           document.backgroundPlacement, *document.background);
    WriteSvgGrid(out, document.gridCellSize, document.gridOrigin, document.gridCells,
                 document.gridSubdivisions);
    for (const TInkelDataWT* e = document.ElementAt(0, false); e && !out.Failed(); e = e->next) {
        if (e->kind == kStrokeKind)
            WriteStroke(out, static_cast<const TStrokeDataWT&>(*e));
        else if (e->kind == kStampKind)
            WriteStamp(out, static_cast<const TStampDataWT&>(*e));
    }
    out.Put("</svg>");
}

}  // namespace quil
