// The page picture: white paper, the background picture (tiled or placed)
// and the grid, at display size, under the strokes of the screen renderer.

#include <algorithm>
#include <cstdint>

#include "platform/canvas.h"
#include "platform/truncate.h"
#include "player/grid_lines.h"
#include "player/page_geometry.h"
#include "player/quil3_reader.h"
#include "render/fuzzy_line.h"

namespace quil {

int TQuil3Reader::ComposePage() {
    if (busy_) return 0;
    return ComposePageNow();
}

int TQuil3Reader::ComposePageNow() {
    if (!document_ || pagePicture_.Empty()) return 0;
    pagePicture_.Fill(0xFF);
    if (backgroundOption_ && document_->backgroundMode != kNoBackground) {
        LayBackground();
        // The renderer restores this layer under eraser strokes; the grid
        // drawn below is not part of it.
        if (renderer_)
            renderer_->CaptureBackground(pagePicture_, pagePicture_.Width(), pagePicture_.Height());
    } else if (renderer_) {
        renderer_->ReleaseBackground();
    }
    DrawGrid();
    return 1;
}

void TQuil3Reader::LayBackground() {
    const TBitmap* picture = document_->background.get();
    if (!picture || picture->Empty()) return;
    if (document_->backgroundMode == kTiledBackground)
        LayTiledBackground(*picture);
    else if (document_->backgroundMode == kPlacedBackground)
        LayPlacedBackground(*picture);
}

void TQuil3Reader::LayTiledBackground(const TBitmap& picture) {
    const TTiling tiling = ScreenTiling(picture.Size(), PageSize(), ScreenMapping());
    const int tileWidth = tiling.tileWidth, tileHeight = tiling.tileHeight;
    if (tileWidth <= 0 || tileHeight <= 0) return;
    TFuzzyLine fine(pagePicture_);
    if (!fine.IsValid()) return;
    TBitmap& work = fine.WorkBitmap();
    TCanvas canvas(&work);
    const int64_t x0 = tiling.originX, y0 = tiling.originY;
    // Only the part of a tile that can land on the work picture is made: a
    // copy placed further right or down lies beyond the picture anyway. The
    // stretch maps onto the whole tile and keeps that part.
    const int64_t keepW = std::min<int64_t>(tileWidth, work.Width() - std::min<int64_t>(x0, 0));
    const int64_t keepH = std::min<int64_t>(tileHeight, work.Height() - std::min<int64_t>(y0, 0));
    if (keepW <= 0 || keepH <= 0 || keepW > INT32_MAX || keepH > INT32_MAX) return;
    TBitmap tile;
    if (!tile.Create(int(keepW), int(keepH))) return;
    TCanvas(&tile).CopyRect({0, 0, tileWidth, tileHeight}, picture,
                            {0, 0, picture.Width() - 1, picture.Height() - 1});
    ForEachVisibleTile(tiling, work.Width(), work.Height(),
                       [&](int64_t x, int64_t y) { canvas.Draw(int(x), int(y), tile); });
    fine.ResolveAll();
}

void TQuil3Reader::LayPlacedBackground(const TBitmap& picture) {
    const TRect rect = ScreenPlacedRect(document_->backgroundPlacement, PageSize(), picture.Size(),
                                        ScreenMapping());
    TFuzzyLine fine(pagePicture_);
    if (!fine.IsValid()) return;
    fine.Clear();
    TCanvas canvas(&fine.WorkBitmap());
    // The picture is laid at four samples a pixel and reduced to the page
    // picture, for smooth edges.
    const auto work = [](int v) {
        return ClampCoordinate(int64_t(v) * 4, INT32_MIN / 2, INT32_MAX / 2);
    };
    canvas.CopyRect({work(rect.left), work(rect.top), work(rect.right) - 1, work(rect.bottom) - 1},
                    picture, {0, 0, picture.Width() - 1, picture.Height() - 1});
    fine.ResolveRect(rect.left, rect.top, rect.right, rect.bottom);
}

int TQuil3Reader::DrawGrid() {
    if (!gridOption_ || !hasGrid_ || pagePicture_.Empty()) return 1;
    TGridLines lines;
    lines.canvas.Attach(&pagePicture_);
    SetUpScreenGrid(lines, grid_, ScreenMapping());
    lines.Draw();
    return 1;
}

}  // namespace quil
