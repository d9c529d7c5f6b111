// The page picture: white paper, the background picture (tiled or placed)
// and the grid, at display size, under the strokes of the screen renderer.

#include <algorithm>
#include <cstdint>

#include "platform/canvas.h"
#include "platform/truncate.h"
#include "player/grid_lines.h"
#include "player/quil3_reader.h"
#include "render/fuzzy_line.h"

namespace quil {

namespace {

constexpr COLORREF kGridColor = MakeColor(255, 189, 189);

}  // namespace

int TQuil3Reader::ComposePage() {
    if (busy_) return 0;
    return ComposePageNow();
}

int TQuil3Reader::ComposePageNow() {
    if (!document_ || pagePicture_.Empty()) return 0;
    pagePicture_.Fill(0xFF);
    if (backgroundOption_ && document_->backgroundMode != 0) {
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
    if (document_->backgroundMode == 1)
        LayTiledBackground(*picture);
    else if (document_->backgroundMode == 2)
        LayPlacedBackground(*picture);
}

void TQuil3Reader::LayTiledBackground(const TBitmap& picture) {
    const int bw = picture.Width(), bh = picture.Height();
    const int tw = TruncToInt(bw * zoomX_ * 4.0f), th = TruncToInt(bh * zoomY_ * 4.0f);
    if (tw <= 0 || th <= 0) return;
    TFuzzyLine fine(pagePicture_);
    if (!fine.IsValid()) return;
    TBitmap& work = fine.WorkBitmap();
    TCanvas canvas(&work);
    const int64_t x0 = TruncToInt(-viewOriginX_ * zoomX_ * 4.0f);
    const int64_t y0 = TruncToInt(-viewOriginY_ * zoomY_ * 4.0f);
    // Only the part of a tile that can land on the work picture is made: a
    // copy placed further right or down lies beyond the picture anyway. The
    // stretch maps onto the whole tile and keeps that part.
    const int64_t keepW = std::min<int64_t>(tw, work.Width() - std::min<int64_t>(x0, 0));
    const int64_t keepH = std::min<int64_t>(th, work.Height() - std::min<int64_t>(y0, 0));
    if (keepW <= 0 || keepH <= 0 || keepW > INT32_MAX || keepH > INT32_MAX) return;
    TBitmap tile;
    if (!tile.Create(int(keepW), int(keepH))) return;
    TCanvas(&tile).CopyRect({0, 0, tw, th}, picture, {0, 0, bw - 1, bh - 1});
    const int64_t rowLimit = TruncToInt(pageHeight_ * zoomY_ * 4.0f);
    const int64_t columnLimit = TruncToInt(pageWidth_ * zoomX_ * 4.0f);
    // Tiles that would start beyond the work picture are not visible; they
    // are left out so that a small tile on a huge page costs no more than
    // the picture.
    for (int64_t r = 0; r < rowLimit && y0 + r < work.Height(); r += th) {
        if (y0 + r + th <= 0) continue;
        for (int64_t c = 0; c < columnLimit && x0 + c < work.Width(); c += tw) {
            if (x0 + c + tw <= 0) continue;
            canvas.Draw(int(x0 + c), int(y0 + r), tile);  // the kept part of the tile
        }
    }
    fine.ResolveAll();
}

void TQuil3Reader::LayPlacedBackground(const TBitmap& picture) {
    const int bw = picture.Width(), bh = picture.Height();
    const int pw = pageWidth_, ph = pageHeight_;
    const float ox = viewOriginX_, oy = viewOriginY_, zx = zoomX_, zy = zoomY_;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    switch (document_->backgroundPlacement) {
    case 0: {  // fit, aspect kept, centred
        const double k = double(bw) / bh > double(pw) / ph ? double(pw) / bw : double(ph) / bh;
        const int w = TruncToInt(bw * k), h = TruncToInt(bh * k);
        const int left = int((int64_t(pw) - w) >> 1), top = int((int64_t(ph) - h) >> 1);
        x0 = TruncToInt((left - ox) * zx);
        y0 = TruncToInt((top - oy) * zy);
        x1 = TruncToInt(bw * k * zx + x0);
        y1 = TruncToInt(bh * k * zy + y0);
        break;
    }
    case 1:  // stretched over the page
        x0 = TruncToInt(-ox * zx);
        y0 = TruncToInt(-oy * zy);
        x1 = TruncToInt(pw * zx + x0);
        y1 = TruncToInt(ph * zy + y0);
        break;
    case 2: {  // centred at its own size
        const int left = int((int64_t(pw) - bw) >> 1), top = int((int64_t(ph) - bh) >> 1);
        x0 = TruncToInt((left - ox) * zx);
        y0 = TruncToInt((top - oy) * zy);
        x1 = TruncToInt(bw * zx + x0);
        y1 = TruncToInt(bh * zy + y0);
        break;
    }
    default:  // own size at the top-left corner
        x0 = TruncToInt(-ox * zx);
        y0 = TruncToInt(-oy * zy);
        x1 = TruncToInt(bw * zx + x0);
        y1 = TruncToInt(bh * zy + y0);
        break;
    }
    TFuzzyLine fine(pagePicture_);
    if (!fine.IsValid()) return;
    fine.Clear();
    TCanvas canvas(&fine.WorkBitmap());
    const auto work = [](int v) {
        return ClampCoordinate(int64_t(v) * 4, INT32_MIN / 2, INT32_MAX / 2);
    };
    canvas.CopyRect({work(x0), work(y0), work(x1) - 1, work(y1) - 1}, picture,
                    {0, 0, bw - 1, bh - 1});
    fine.ResolveRect(x0, y0, x1, y1);
}

int TQuil3Reader::DrawGrid() {
    if (!gridOption_ || !hasGrid_ || pagePicture_.Empty()) return 1;
    TGridLines lines;
    lines.canvas.Attach(&pagePicture_);
    lines.color = kGridColor;
    lines.majorWidth = grid_.HasMinorLines() ? 3 : 1;
    lines.minorWidth = 1;
    lines.columns = grid_.columns;
    lines.rows = grid_.rows;
    lines.subdivisionsX = grid_.subdivisionsX;
    lines.subdivisionsY = grid_.subdivisionsY;
    // Integer sums of the grid, then the origin and the zoom in float.
    const float ox = viewOriginX_, oy = viewOriginY_, zx = zoomX_, zy = zoomY_;
    const TGridParams& g = grid_;
    lines.columnAt = [&](int i) {
        return TruncToInt((float(int64_t(g.originX) + int64_t(g.cellWidth) * i) - ox) * zx);
    };
    lines.rowAt = [&](int k) {
        return TruncToInt((float(int64_t(g.originY) + int64_t(g.cellHeight) * k) - oy) * zy);
    };
    lines.stepX = g.cellWidth * zx / (g.subdivisionsX != 0 ? g.subdivisionsX : 1);
    lines.stepY = g.cellHeight * zy / (g.subdivisionsY != 0 ? g.subdivisionsY : 1);
    lines.top = lines.rowAt(0);
    lines.bottom = lines.rowAt(g.rows);
    lines.left = lines.columnAt(0);
    lines.right = lines.columnAt(g.columns);
    lines.swapRanges = false;  // the screen draws reversed ranges as they come
    lines.Draw();
    return 1;
}

}  // namespace quil
