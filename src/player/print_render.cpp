// The page's chosen area rendered for the printer at the print resolution.

#include "player/print_render.h"

#include <algorithm>
#include <cstdint>

#include "platform/canvas.h"
#include "platform/memory_budget.h"
#include "player/background_tiles.h"
#include "player/element_rules.h"
#include "player/grid_lines.h"
#include "player/grid_params.h"
#include "player/page_geometry.h"
#include "render/fuzzy_line_gdi_16x.h"

namespace quil {

namespace {

constexpr int kBestFactor = 4;

void LayBackground(TFuzzyLineGDI& renderer, const TPenReplayWT& document,
                   const TPrintScale& print) {
    const TBitmap& picture = *document.background;
    // Tiles and the placed picture take the whole picture.
    const TRect whole{0, 0, picture.Width(), picture.Height()};
    if (document.backgroundMode == kTiledBackground) {
        LayTiles(renderer, picture, whole, PrintTiling(picture.Size(), print));
    } else if (document.backgroundMode == kPlacedBackground) {
        renderer.WorkCanvas().CopyRect(
            PrintPlacedRect(document.backgroundPlacement, print.page, picture.Size(), print),
            picture, whole);
    }
}

void DrawGrid(TFuzzyLineGDI& renderer, const TGridParams& grid, const TPrintScale& print) {
    TGridLines lines;
    lines.canvas.Attach(&renderer.WorkDC());
    SetUpPrintGrid(lines, grid, print);
    lines.Draw();
    renderer.WorkCanvas().SetPenColor(kBlack);
    renderer.WorkCanvas().SetPenWidth(1);
}

void DrawElements(TFuzzyLineGDI& renderer, const TPenReplayWT& document, int position,
                  const TPageMapping& mapping, TDrawingProgress& progress) {
    for (const TInkelDataWT* e = document.firstElement; e && e->index < position; e = e->next) {
        if (progress.Step()) progress.Report();
        if (e->kind == kStrokeKind) {
            DrawStrokeRule(renderer, static_cast<const TStrokeDataWT&>(*e), mapping);
        } else if (e->kind == kStampKind) {
            const auto& stamp = static_cast<const TStampDataWT&>(*e);
            DrawStampRule(renderer, stamp, MapStamp(stamp, mapping), 4.0f, 4.0f, nullptr,
                          TStampStretch::Whole);
        }
    }
}

// The part of the destination that lies on the printer's page; may be empty.
TRect OnPage(const TRect& destination, const IPrinter& printer) {
    return {std::max(destination.left, 0), std::max(destination.top, 0),
            std::min(destination.right, printer.PageWidth()),
            std::min(destination.bottom, printer.PageHeight())};
}

bool IsEmpty(const TRect& r) { return r.right <= r.left || r.bottom <= r.top; }

// The bytes of the renderer's surfaces and of the picture handed over.
uint64_t PrintBytes(const TPrintScale& print, const TRect& onPage) {
    const uint64_t surfaces = TFuzzyLineGDI::SurfaceBytes(kBestFactor, print.width, print.height);
    if (surfaces == UINT64_MAX || IsEmpty(onPage)) return surfaces;
    const int64_t row = RowStride(onPage.right - onPage.left, 24);
    if (row < 0) return UINT64_MAX;
    const uint64_t picture = uint64_t(row) * uint64_t(onPage.bottom - onPage.top);
    return surfaces > UINT64_MAX - picture ? UINT64_MAX : surfaces + picture;
}

// Draws the area at the print resolution and reduces its work surface by
// averaging into `picture`, the on-page part of the destination.
TPrintStatus RenderArea(const TPenReplayWT& document, int position, const TPageOptions& options,
                        const TPrintScale& print, const TRect& destination, const TRect& onPage,
                        TBitmap& picture, const THostEvents& events) {
    TFuzzyLineGDI16X renderer(nullptr, print.width, print.height);
    if (!renderer.IsValid()) return TPrintStatus::TooLarge;
    renderer.Clear();
    // No background layer is captured: erasers print white paper.
    if (options.background && HasBackgroundPicture(document))
        LayBackground(renderer, document, print);
    TGridParams grid;
    if (options.grid && UnpackGrid(document.gridCellSize, document.gridOrigin, document.gridCells,
                                   document.gridSubdivisions, grid))
        DrawGrid(renderer, grid, print);

    TDrawingProgress progress(events, document.ElementCount());
    DrawElements(renderer, document, position, PrintMapping(print), progress);
    progress.Finish();

    if (IsEmpty(onPage)) return TPrintStatus::Printed;  // nothing of it lands on the page
    if (!picture.Create(onPage.right - onPage.left, onPage.bottom - onPage.top))
        return TPrintStatus::TooLarge;
    TCanvas canvas(&picture);
    canvas.SetStretchMode(TStretchMode::Halftone);
    canvas.StretchBlt(destination.left - onPage.left, destination.top - onPage.top,
                      destination.right - destination.left, destination.bottom - destination.top,
                      renderer.WorkDC(), 0, 0, renderer.GetWorkWidth(), renderer.GetWorkHeight());
    return TPrintStatus::Printed;
}

}  // namespace

TPrintStatus PrintPage(const TPenReplayWT& document, int position, const TPageOptions& options,
                       IPrinter& printer, const TPrintRequest& request, const THostEvents& events) {
    const TRect& d = request.destination;
    const int64_t width = int64_t(d.right) - d.left, height = int64_t(d.bottom) - d.top;
    TPrintScale print;
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX ||
        !PrintScaleOf({document.GetPageWidth(), document.GetPageHeight()}, request.area,
                      request.scale, print))
        return TPrintStatus::EmptyArea;
    const TRect onPage = OnPage(d, printer);
    if (!FitsInMemory(PrintBytes(print, onPage))) return TPrintStatus::TooLarge;

    TBitmap picture;
    const TPrintStatus drawn =
        RenderArea(document, std::clamp(position, 0, document.ElementCount()), options, print, d,
                   onPage, picture, events);
    if (drawn != TPrintStatus::Printed) return drawn;
    if (!printer.BeginDoc()) return TPrintStatus::Refused;
    if (!picture.Empty()) printer.StretchPicture(onPage, picture);
    return printer.EndDoc() ? TPrintStatus::Printed : TPrintStatus::Refused;
}

}  // namespace quil
