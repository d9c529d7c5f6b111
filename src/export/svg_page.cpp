#include "export/svg_page.h"

#include <algorithm>
#include <utility>

#include "export/base64.h"
#include "export/png_writer.h"
#include "export/svg_numbers.h"
#include "model/document.h"
#include "player/page_geometry.h"

namespace quil {

namespace {

struct TGrid {
    int cw, ch, ox, oy, n, m, qx, qy;
};

int64_t GridLineCount(const TGrid& g) {
    int64_t lines = std::max(0, g.n + 1) + std::max(0, g.m + 1);
    if (g.qx > 1) lines += int64_t(std::max(0, g.n)) * (g.qx - 1);
    if (g.qy > 1) lines += int64_t(std::max(0, g.m)) * (g.qy - 1);
    return lines;
}

void WriteGridLine(TSvgStream& out, int x1, int y1, int x2, int y2, int width) {
    out.Format("\t<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke-width=\"%d\"/>\n", x1, y1,
               x2, y2, width);
}

void WriteGridLines(TSvgStream& out, const TGrid& g) {
    int x0 = g.ox, x1 = TruncToInt(float(g.cw) * float(g.n) + float(g.ox));
    int y0 = g.oy, y1 = TruncToInt(float(g.ch) * float(g.m) + float(g.oy));
    if (y0 > y1) std::swap(y0, y1);
    if (x0 > x1) std::swap(x0, x1);
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

}  // namespace

void PutPngData(TSvgStream& out, const std::vector<uint8_t>& png) {
    if (png.empty()) {
        out.Fail();
        return;
    }
    out.Put(EncodeBase64(png.data(), png.size()));
}

void WriteSvgBackground(TSvgStream& out, int pageWidth, int pageHeight, int mode, int placement,
                        const TBitmap& picture) {
    if (mode == kNoBackground || picture.Empty()) return;
    const int bw = picture.Width(), bh = picture.Height();
    if (mode == kTiledBackground) {
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
    // Tenths of the placed area; its corner is in whole page units.
    const TPlacedArea area = PlaceBackground(placement, {pageWidth, pageHeight}, picture.Size(),
                                             TCornerRounding::Drawing);
    out.Format("<image x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" ", TimesTen(area.left),
               TimesTen(area.top), TruncToInt(area.width * 10), TruncToInt(area.height * 10));
    out.Put("xlink:href=\"data:image/png;base64,");
    PutPngData(out, EncodePngRgb(picture));
    out.Put("\"/>\n");
}

void WriteSvgGrid(TSvgStream& out, uint32_t cellSize, uint32_t origin, uint32_t cells,
                  uint32_t subdivisions) {
    if (cellSize == 0) return;
    const TGrid grid{GridLow(cellSize),     GridHigh(cellSize),    GridLow(origin),
                     GridHigh(origin),      GridLow(cells),        GridHigh(cells),
                     GridLow(subdivisions), GridHigh(subdivisions)};
    // Sixteen bits each for columns and subdivisions could ask for billions
    // of lines; no page shows that many, and writing them would exhaust
    // memory, so such a grid fails the export instead.
    if (GridLineCount(grid) > kMaxSvgGridLines) {
        out.Fail();
        return;
    }
    out.Format("<g stroke=\"#%02X%02X%02X\">\n", RedOf(kGridColor), GreenOf(kGridColor),
               BlueOf(kGridColor));
    WriteGridLines(out, grid);
    out.Put("</g>\n");
}

}  // namespace quil
