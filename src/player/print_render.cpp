// The page's chosen area rendered for the printer at the print resolution.

#include "player/print_render.h"

#include <algorithm>
#include <cstdint>

#include "platform/canvas.h"
#include "platform/memory_budget.h"
#include "player/background_tiles.h"
#include "player/element_drawing.h"
#include "player/element_rules.h"
#include "player/grid_lines.h"
#include "player/grid_params.h"
#include "player/page_geometry.h"
#include "render/fuzzy_line_gdi_16x.h"

namespace quil {

namespace {

// The work factor of the Best renderer the print draws with.
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
}

// How the picture handed over fills one axis of the destination. Where
// the destination has no more printer pixels than the work surface has
// samples, the work surface is reduced by averaging to the destination's
// pixels and only the part on the printer's page is handed over. Where it
// has more (a small area on a fine printer), the picture keeps the work
// surface's samples along that axis and the printer enlarges them, which
// it does without smoothing: the picture never outgrows the work surface.
struct TAxis {
    int from = 0, to = 0;  // printer pixels the picture is handed for
    int pictureSize = 0;   // the picture's pixels along the axis
    int stretchFrom = 0;   // where the work surface goes in the picture
    int stretchSize = 0;   // over how many of its pixels
    bool Empty() const { return to <= from; }
};

TAxis AxisOf(int from, int to, int pageSize, int64_t samples) {
    const int64_t size = int64_t(to) - from;
    if (size > samples) {
        const bool beside = to <= 0 || from >= pageSize;
        return {from, beside ? from : to, int(samples), 0, int(samples)};
    }
    TAxis a;
    a.from = std::max(from, 0);
    a.to = std::min(to, pageSize);
    a.pictureSize = a.to - a.from;
    a.stretchFrom = from - a.from;
    a.stretchSize = int(size);
    return a;
}

// The bytes of the renderer's surfaces and of the picture handed over.
uint64_t PrintBytes(const TPrintScale& print, const TAxis& across, const TAxis& down) {
    const uint64_t surfaces = TFuzzyLineGDI::SurfaceBytes(kBestFactor, print.width, print.height);
    if (across.Empty() || down.Empty()) return surfaces;
    return PlusPictureBytes(surfaces, across.pictureSize, down.pictureSize);
}

// Draws the area at the print resolution and makes from its work surface
// the picture handed over (empty when none of it lands on the page).
TPrintStatus RenderArea(const TPenReplayWT& document, int position, const TPageOptions& options,
                        const TPrintScale& print, const TAxis& across, const TAxis& down,
                        TBitmap& picture, const THostEvents& events) {
    // A new renderer holds white paper on both surfaces.
    TFuzzyLineGDI16X renderer(nullptr, print.width, print.height);
    if (!renderer.IsValid()) return TPrintStatus::TooLarge;
    // No background layer is captured: erasers print white paper.
    if (options.background && HasBackgroundPicture(document))
        LayBackground(renderer, document, print);
    TGridParams grid;
    if (options.grid && UnpackGrid(document, grid)) DrawGrid(renderer, grid, print);

    TDrawingProgress progress(events, document.ElementCount());
    TElementRun run;
    run.first = document.firstElement;
    run.end = position < document.ElementCount() ? document.ElementAt(position) : nullptr;
    run.mapping = PrintMapping(print);
    run.stampStretch = TStampStretch::Whole;
    // The printer takes the work surface: nothing to resolve.
    DrawElementsAtOnce(renderer, run, progress, false);
    progress.Finish();

    if (across.Empty() || down.Empty()) return TPrintStatus::Printed;
    if (!picture.Create(across.pictureSize, down.pictureSize)) return TPrintStatus::TooLarge;
    TCanvas canvas(&picture);
    canvas.SetStretchMode(TStretchMode::Halftone);
    canvas.StretchBlt(across.stretchFrom, down.stretchFrom, across.stretchSize, down.stretchSize,
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
    const TAxis across = AxisOf(d.left, d.right, printer.PageWidth(),
                                TFuzzyLineGDI::WorkWidthFor(kBestFactor, print.width));
    const TAxis down =
        AxisOf(d.top, d.bottom, printer.PageHeight(), int64_t(kBestFactor) * print.height);
    if (!FitsInMemory(PrintBytes(print, across, down))) return TPrintStatus::TooLarge;

    TBitmap picture;
    const TPrintStatus drawn =
        RenderArea(document, std::clamp(position, 0, document.ElementCount()), options, print,
                   across, down, picture, events);
    if (drawn != TPrintStatus::Printed) return drawn;
    if (!printer.BeginDoc()) return TPrintStatus::Refused;
    if (!picture.Empty())
        printer.StretchPicture({across.from, down.from, across.to, down.to}, picture);
    return printer.EndDoc() ? TPrintStatus::Printed : TPrintStatus::Refused;
}

}  // namespace quil
