#include "export/svg_document.h"

#include <cmath>

#include "export/png_writer.h"
#include "export/svg_numbers.h"
#include "model/document.h"
#include "player/page_geometry.h"

namespace quil {

namespace {

void WriteHeader(TSvgStream& out, int width, int height) {
    out.Put("<?xml version=\"1.0\" standalone=\"no\"?>\n");
    out.Put("<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
            "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n");
    // The pictures are referenced as "xlink:href", so the root declares
    // that prefix too: without it the text is not namespace-well-formed XML
    // and SVG clients refuse the whole drawing.
    out.Format("<svg width=\"%dpx\" height=\"%dpx\" viewBox=\"0 0 %d %d\" "
               "xmlns=\"http://www.w3.org/2000/svg\" "
               "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\">\n",
               width, height, TimesTen(width), TimesTen(height));
}

void WriteStroke(TSvgStream& out, const TStrokeDataWT& stroke) {
    const uint32_t color = stroke.color;
    const unsigned r = color & 255, g = (color >> 8) & 255, b = (color >> 16) & 255;
    out.Format(
        "<g style=\"fill:#%02X%02X%02X;opacity:%.2f;stroke:#%02X%02X%02X;stroke-width:0\">\n", r, g,
        b, double(stroke.opacity) / 255.0, r, g, b);
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
    out.Format(
        "<image x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" xlink:href=\"data:image/png;base64,",
        Tenths(stamp.x), Tenths(stamp.y), Tenths(stamp.width), Tenths(stamp.height));
    PutPngData(out, EncodePngWhiteTransparent(stamp.picture));
    out.Put("\"/>\n");
}

}  // namespace

void WriteSvgDocument(const TPenReplayWT& document, TSvgStream& out) {
    WriteHeader(out, document.pageWidth, document.pageHeight);
    if (document.backgroundMode != kNoBackground && document.background)
        WriteSvgBackground(out, document.pageWidth, document.pageHeight, document.backgroundMode,
                           document.backgroundPlacement, *document.background);
    WriteSvgGrid(out, document.gridCellSize, document.gridOrigin, document.gridCells,
                 document.gridSubdivisions);
    // The head of the list is the element with index 0; walking from it
    // leaves the document's cursor alone.
    for (const TInkelDataWT* e = document.firstElement; e && !out.Failed(); e = e->next) {
        if (e->kind == kStrokeKind)
            WriteStroke(out, static_cast<const TStrokeDataWT&>(*e));
        else if (e->kind == kStampKind)
            WriteStamp(out, static_cast<const TStampDataWT&>(*e));
    }
    out.Put("</svg>");
}

}  // namespace quil
