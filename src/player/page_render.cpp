// The page at a replay position, rendered off screen onto a picture of any
// size with a Best renderer of its own.

#include "player/page_render.h"

#include <algorithm>
#include <cstdint>

#include "platform/canvas.h"
#include "player/background_tiles.h"
#include "player/element_drawing.h"
#include "player/element_rules.h"
#include "player/grid_lines.h"
#include "player/grid_params.h"
#include "player/page_geometry.h"
#include "render/fuzzy_line_gdi_16x.h"

namespace quil {

namespace {

void LayBackground(TFuzzyLineGDI& renderer, const TPenReplayWT& document, TSize page,
                   const TPageMapping& mapping) {
    const TBitmap& picture = *document.background;
    if (document.backgroundMode == kTiledBackground) {
        LayTiles(renderer, picture, {0, 0, picture.Width() - 1, picture.Height() - 1},
                 OffScreenTiling(picture.Size(), page, mapping));
    } else if (document.backgroundMode == kPlacedBackground) {
        const TRect rect =
            OffScreenPlacedRect(document.backgroundPlacement, page, picture.Size(), mapping);
        renderer.WorkCanvas().CopyRect(rect, picture,
                                       {0, 0, picture.Width() - 1, picture.Height() - 1});
    }
    renderer.ResolveAll();
}

void DrawGrid(TFuzzyLineGDI& renderer, const TGridParams& grid, const TPageMapping& mapping) {
    TGridLines lines;
    lines.canvas.Attach(&renderer.WorkDC());
    SetUpOffScreenGrid(lines, grid, mapping);
    lines.Draw();
    // The work canvas is the renderer's: leave it with its black pen of width 1.
    renderer.WorkCanvas().SetPenColor(kBlack);
    renderer.WorkCanvas().SetPenWidth(1);
}

}  // namespace

bool HasBackgroundPicture(const TPenReplayWT& document) {
    return document.backgroundMode != kNoBackground && document.background &&
           !document.background->Empty();
}

int RenderPage(const TPenReplayWT& document, int position, const TPageOptions& options,
               TBitmap& target, bool stretch, const THostEvents& events) {
    const TSize page{document.GetPageWidth(), document.GetPageHeight()};
    if (target.Empty() || target.BitsPerPixel() != 24 || page.width <= 0 || page.height <= 0)
        return 0;
    // A new renderer holds white paper on both surfaces: no Clear needed.
    TFuzzyLineGDI16X renderer(nullptr, target.Width(), target.Height());
    if (!renderer.IsValid()) return 0;  // the surfaces do not fit in memory
    const TPageMapping mapping = OffScreenMapping(target.Size(), page, stretch);

    bool layer = false;
    if (options.background && HasBackgroundPicture(document)) {
        LayBackground(renderer, document, page, mapping);
        layer = true;
    }
    TGridParams grid;
    if (options.grid && UnpackGrid(document, grid)) {
        DrawGrid(renderer, grid, mapping);
        layer = true;
    }
    // Off screen the layer under eraser strokes holds background and grid.
    if (layer)
        renderer.CaptureBackground(renderer.WorkDC(), renderer.GetWorkWidth(),
                                   renderer.GetWorkHeight());

    const int count = document.ElementCount();
    position = std::clamp(position, 0, count);
    // The total counts one element more than are drawn short of the end.
    TDrawingProgress progress(events, position < count ? position + 1 : count);
    TElementRun run;
    run.first = document.firstElement;
    run.end = position < count ? document.ElementAt(position) : nullptr;
    run.mapping = mapping;
    // Stamps go straight into the work surface, four samples a pixel; all
    // is resolved at the end.
    DrawElementsAtOnce(renderer, run, progress, false);
    renderer.ResolveAll();
    TCanvas(&target).Draw(0, 0, renderer.DisplayDC());
    progress.Finish();
    return 1;
}

}  // namespace quil
