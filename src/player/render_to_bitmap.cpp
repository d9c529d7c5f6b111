// The page at the current replay position, rendered off screen onto a
// picture of any size with a Best renderer of its own: no inversion, no pen
// marker, whatever the screen shows.

#include <cstdint>

#include "platform/canvas.h"
#include "platform/truncate.h"
#include "player/grid_lines.h"
#include "player/quil3_reader.h"
#include "player/reader_scopes.h"
#include "render/fuzzy_line_gdi_16x.h"

namespace quil {

namespace {

constexpr COLORREF kGridColor = MakeColor(255, 189, 189);
constexpr int kProgressThreshold = 16;
constexpr int kProgressEvery = 16;

// Scale and offsets of the page on the target; work samples are four times
// display pixels.
struct TOffScreenScale {
    float sx = 1.0f, sy = 1.0f, s = 1.0f;
    float offsetX = 0.0f, offsetY = 0.0f;
};

TOffScreenScale ScaleFor(int T, int U, int pw, int ph, bool stretch) {
    TOffScreenScale m;
    m.sx = float(T) / float(pw);
    m.sy = float(U) / float(ph);
    if (stretch) {
        m.s = (m.sx + m.sy) * 0.5f;
        return m;
    }
    m.s = m.sx > m.sy ? m.sy : m.sx;
    m.sx = m.sy = m.s;
    m.offsetX = (T - pw * m.s) * 0.5f;
    m.offsetY = (U - ph * m.s) * 0.5f;
    return m;
}

int Work(double v) { return TruncToInt(v * 4.0); }

void LayTiles(TFuzzyLineGDI& r, const TBitmap& picture, const TOffScreenScale& m, int pw, int ph) {
    const int bw = picture.Width(), bh = picture.Height();
    const int tw = TruncToInt(bw * m.sx * 4.0f), th = TruncToInt(bh * m.sy * 4.0f);
    if (tw <= 0 || th <= 0) return;
    const int64_t C = TruncToInt(m.offsetX * 4.0f), D = TruncToInt(m.offsetY * 4.0f);
    TCanvas& canvas = r.WorkCanvas();
    canvas.CopyRect({int(C), int(D), ClampCoordinate(C + tw, INT32_MIN, INT32_MAX),
                     ClampCoordinate(D + th, INT32_MIN, INT32_MAX)},
                    picture, {0, 0, bw - 1, bh - 1});
    const TBitmap& work = r.WorkDC();
    const int64_t rowLimit = int64_t(ph) * 4, columnLimit = int64_t(pw) * 4;
    // Copies of the first tile; those that would start beyond the surface
    // are not visible and are left out.
    for (int64_t y = 0; y < rowLimit && D + y < work.Height(); y += th) {
        if (D + y + th <= 0) continue;
        for (int64_t x = 0; x < columnLimit && C + x < work.Width(); x += tw) {
            if ((x == 0 && y == 0) || C + x + tw <= 0) continue;
            canvas.BitBlt(int(C + x), int(D + y), tw, th, work, int(C), int(D));
        }
    }
}

TRect PlacedRect(int placement, const TBitmap& picture, const TOffScreenScale& m, int pw, int ph) {
    const int bw = picture.Width(), bh = picture.Height();
    const float ox = m.offsetX, oy = m.offsetY, sx = m.sx, sy = m.sy;
    switch (placement) {
    case 0: {
        const double k = double(bw) / bh > double(pw) / ph ? double(pw) / bw : double(ph) / bh;
        const int L = TruncToInt((pw - bw * k) * 0.5), Tp = TruncToInt((ph - bh * k) * 0.5);
        const int x0 = TruncToInt(L * sx + ox), y0 = TruncToInt(Tp * sy + oy);
        const int x1 = TruncToInt(bw * k * sx + x0), y1 = TruncToInt(bh * k * sy + y0);
        return {Work(x0), Work(y0), Work(x1) - 1, Work(y1) - 1};
    }
    case 1:
        return {Work(ox), Work(oy), TruncToInt((pw * sx + ox) * 4.0f - 1),
                TruncToInt((ph * sy + oy) * 4.0f - 1)};
    case 2: {
        const int L = int((int64_t(pw) - bw) >> 1), Tp = int((int64_t(ph) - bh) >> 1);
        const int x0 = TruncToInt(L * sx + ox), y0 = TruncToInt(Tp * sy + oy);
        const int x1 = TruncToInt(bw * sx + x0), y1 = TruncToInt(bh * sy + y0);
        return {Work(x0), Work(y0), Work(x1) - 1, Work(y1) - 1};
    }
    default:
        return {Work(ox), Work(oy), TruncToInt((bw * sx + ox) * 4.0f - 1),
                TruncToInt((bh * sy + oy) * 4.0f - 1)};
    }
}

void DrawOffScreenGrid(TFuzzyLineGDI& r, const TGridParams& g, const TOffScreenScale& m) {
    const float u = g.cellWidth * m.sx, v = g.cellHeight * m.sy;
    const float left = g.originX * m.sx + m.offsetX, top = g.originY * m.sy + m.offsetY;
    const float right = g.columns * u + left, bottom = g.rows * v + top;
    TGridLines lines;
    lines.canvas.Attach(&r.WorkDC());
    lines.color = kGridColor;
    lines.majorWidth = TruncToInt(m.s * (g.HasMinorLines() ? 12.0f : 4.0f));
    lines.minorWidth = TruncToInt(m.s * 4.0f);
    lines.columns = g.columns;
    lines.rows = g.rows;
    lines.subdivisionsX = g.subdivisionsX;
    lines.subdivisionsY = g.subdivisionsY;
    lines.columnAt = [&](int i) { return TruncToInt((i * u + left) * 4.0f); };
    lines.rowAt = [&](int k) { return TruncToInt((k * v + top) * 4.0f); };
    lines.stepX = u * 4.0f / (g.subdivisionsX != 0 ? g.subdivisionsX : 1);
    lines.stepY = v * 4.0f / (g.subdivisionsY != 0 ? g.subdivisionsY : 1);
    lines.top = TruncToInt(top * 4.0f);
    lines.bottom = TruncToInt(bottom * 4.0f);
    lines.left = TruncToInt(left * 4.0f);
    lines.right = TruncToInt(right * 4.0f);
    lines.swapRanges = true;
    lines.Draw();
    // The work canvas is the renderer's: leave it with its black pen of width 1.
    r.WorkCanvas().SetPenColor(kBlack);
    r.WorkCanvas().SetPenWidth(1);
}

}  // namespace

int TQuil3Reader::RenderToBitmap(TBitmap& target, bool stretch) {
    if (busy_ || !document_) return 0;
    if (target.Empty() || target.BitsPerPixel() != 24 || pageWidth_ <= 0 || pageHeight_ <= 0)
        return 0;
    TReplayTimerPause pause(*replayTimer_);
    TBusyScope busy(busy_);
    return RenderNow(target, stretch);
}

int TQuil3Reader::RenderNow(TBitmap& target, bool stretch) {
    const int T = target.Width(), U = target.Height(), pw = pageWidth_, ph = pageHeight_;
    TFuzzyLineGDI16X r(nullptr, T, U);
    if (!r.IsValid()) return 0;  // the surfaces do not fit in memory
    r.Clear();
    TInkelDataWT* end = document_->CurrentElement();
    const TOffScreenScale m = ScaleFor(T, U, pw, ph, stretch);

    bool layer = false;
    const TBitmap* picture = document_->background.get();
    if (backgroundOption_ && hasBackground_ && picture && !picture->Empty()) {
        if (document_->backgroundMode == 1) {
            LayTiles(r, *picture, m, pw, ph);
        } else if (document_->backgroundMode == 2) {
            const TRect rect = PlacedRect(document_->backgroundPlacement, *picture, m, pw, ph);
            r.WorkCanvas().CopyRect(rect, *picture,
                                    {0, 0, picture->Width() - 1, picture->Height() - 1});
        }
        r.ResolveAll();
        layer = true;
    }
    if (gridOption_ && hasGrid_) {
        DrawOffScreenGrid(r, grid_, m);
        layer = true;
    }
    // Off screen the layer under eraser strokes holds background and grid.
    if (layer) r.CaptureBackground(r.WorkDC(), r.GetWorkWidth(), r.GetWorkHeight());

    const int total = end ? end->index + 1 : elementCount_;
    if (total > kProgressThreshold) Notify(kEventBusyStart, total);
    TPageMapping mapping;
    mapping.scaleX = m.sx;
    mapping.scaleY = m.sy;
    mapping.offsetX = m.offsetX;
    mapping.offsetY = m.offsetY;
    mapping.widthScale = m.s;
    int counter = 0;
    for (TInkelDataWT* e = headElement_; e && e != end; e = e->next) {
        if (++counter % kProgressEvery == 0) Notify(kEventProgress, counter);
        if (e->kind == kStrokeKind) {
            DrawStrokeRule(r, *static_cast<TStrokeDataWT*>(e), mapping);
        } else if (e->kind == kStampKind) {
            const auto* stamp = static_cast<TStampDataWT*>(e);
            DrawStampRule(r, *stamp, MapStamp(*stamp, mapping), 4.0f, 4.0f);
        }
    }
    r.ResolveAll();
    TCanvas(&target).Draw(0, 0, r.DisplayDC());
    if (total > kProgressThreshold) Notify(kEventBusyEnd, 0);
    return 1;
}

}  // namespace quil
