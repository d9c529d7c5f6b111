#include "player/element_drawing.h"

#include <algorithm>
#include <cstdint>

#include "platform/truncate.h"
#include "player/element_rules.h"
#include "render/bulk_drawing.h"

namespace quil {

namespace {

bool Takes(const TElementRun& run, const TInkelDataWT& e) { return !run.accept || run.accept(e); }

// The box of work samples every segment of a stroke lies in: the box of one
// segment from the top-left to the bottom-right corner of its points with
// its largest radius, which no segment's box exceeds while the mappings
// keep their order. False when that cannot be told, or for no points.
bool StrokeBox(const TSampleGeometry& g, const TInkelDataWT& e, const TPageMapping& m,
               TSampleBox& box) {
    if (e.maxRadius < 0 || !(m.scaleX > 0) || !(m.scaleY > 0) || !(m.widthScale >= 0) ||
        !(g.scaleX > 0) || !(g.scaleY > 0))
        return false;
    const float r = e.maxRadius * m.widthScale;
    box = g.SegmentBox({m.X(e.minX), m.Y(e.minY), r, m.X(e.maxX), m.Y(e.maxY), r});
    return true;
}

// Whether a stroke can reach the painter's rows.
bool StrokeMayReach(const TStrokePainter& painter, const TSampleGeometry& g, const TInkelDataWT& e,
                    const TPageMapping& m) {
    if (e.maxRadius < 0) return false;  // no points
    TSampleBox box;
    return !StrokeBox(g, e, m, box) || painter.OwnsAnyRow(box.top, box.bottom);
}

// Asks for the samples of the next stroke the band draws, while this one
// is drawn.
void PrefetchNextStroke(const TStrokePainter& painter, const TSampleGeometry& g,
                        const TElementRun& run, const TInkelDataWT* after, const TInkelDataWT* to) {
    for (const TInkelDataWT* e = after->next; e && e != to; e = e->next) {
        if (!Takes(run, *e)) continue;
        TSampleBox box;
        if (e->kind == kStrokeKind && StrokeBox(g, *e, run.mapping, box)) painter.Prefetch(box);
        return;
    }
}

// The stamp rule in the painter's rows, which grow its changed box by the
// stamp's display rectangle as the screen resolves it.
void DrawStampInBand(TFuzzyLineGDI& renderer, TStrokePainter& painter, const TStampDataWT& stamp,
                     const TElementRun& run) {
    const TStampRect rect = MapStamp(stamp, run.mapping);
    const TSampleBox limits = painter.Limits();
    const int64_t top = TruncToInt(rect.y * run.stampFactorY);
    const int64_t bottom = top + int64_t(TruncToInt(rect.height * run.stampFactorY)) - 1;
    const int first = int(std::max<int64_t>(limits.top, top));
    const int last = int(std::min<int64_t>(limits.bottom, bottom));
    painter.ForEachOwnRun(first, last, [&](int y0, int y1) {
        const TRect clip{limits.left, y0, limits.right, y1};
        DrawStampRule(renderer, stamp, rect, run.stampFactorX, run.stampFactorY, &clip,
                      run.stampStretch);
    });
    const TSampleGeometry& g = renderer.Geometry();
    const int64_t f = g.factor;
    auto clampX = [&](int64_t v) { return int(std::clamp<int64_t>(v, 0, g.workWidth - 1)); };
    auto clampY = [&](int64_t v) { return int(std::clamp<int64_t>(v, 0, g.workHeight - 1)); };
    const TSampleBox changed{clampX(TruncToInt(rect.x) * f), clampY(TruncToInt(rect.y) * f),
                             clampX(TruncToInt(rect.x + rect.width + 1) * f - 1),
                             clampY(TruncToInt(rect.y + rect.height + 1) * f - 1)};
    if (changed.left <= changed.right && changed.top <= changed.bottom)
        painter.NoteChanged(changed);
}

// One band's part: the taken elements from `from` up to `to`.
void DrawPart(TFuzzyLineGDI& renderer, TStrokePainter& painter, const TElementRun& run,
              const TInkelDataWT* from, const TInkelDataWT* to) {
    const TSampleGeometry& g = renderer.Geometry();
    for (const TInkelDataWT* e = from; e && e != to; e = e->next) {
        if (!Takes(run, *e)) continue;
        if (e->kind == kStrokeKind) {
            if (!StrokeMayReach(painter, g, *e, run.mapping)) continue;
            PrefetchNextStroke(painter, g, run, e, to);
            DrawStrokeRule(painter, static_cast<const TStrokeDataWT&>(*e), run.mapping);
        } else if (e->kind == kStampKind) {
            DrawStampInBand(renderer, painter, static_cast<const TStampDataWT&>(*e), run);
        }
    }
}

}  // namespace

void CountElements(const TElementRun& run, TDrawingProgress& progress,
                   const std::function<void()>& atProgress) {
    for (const TInkelDataWT* e = run.first; e && e != run.end; e = e->next)
        if (Takes(run, *e) && progress.Step()) {
            if (atProgress) atProgress();
            progress.Report();
        }
}

void DrawElementsAtOnce(TFuzzyLineGDI& renderer, const TElementRun& run, TDrawingProgress& progress,
                        bool resolve, const std::function<void()>& atProgress) {
    if (!renderer.IsValid()) {
        // Nothing can be drawn; the host still hears of the progress.
        CountElements(run, progress, atProgress);
        return;
    }
    TBulkDrawing bulk(renderer, run.bands);
    // Drawn in pieces between progress events when anyone listens, else at
    // once; the element a piece starts with was counted before the event.
    const bool pieces = progress.Listening() || atProgress;
    const TInkelDataWT* from = run.first;
    bool fromCounted = false;
    for (;;) {
        const TInkelDataWT* to = run.end;
        for (const TInkelDataWT* e = from; e && e != run.end; e = e->next) {
            if (!Takes(run, *e) || (e == from && fromCounted)) continue;
            if (progress.Step() && pieces) {
                to = e;
                break;
            }
        }
        bulk.Run([&](TStrokePainter& painter) { DrawPart(renderer, painter, run, from, to); });
        if (to == run.end) break;
        if (atProgress) {
            bulk.ResolveChanged();
            atProgress();
        }
        progress.Report();
        from = to;
        fromCounted = true;
    }
    if (resolve) bulk.ResolveChanged();
}

}  // namespace quil
