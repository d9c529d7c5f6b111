// Replay and navigation: the position on the page, live replay point by
// point, and jumps forward (drawing what is missing, skipping what lies
// outside the view) and backward (restoring the area of the elements that
// disappear and drawing again what touches it).

#include <algorithm>
#include <cfloat>

#include "platform/truncate.h"
#include "player/element_drawing.h"
#include "player/quil3_reader.h"
#include "player/reader_scopes.h"

namespace quil {

namespace {

// Elements from `from` up to, not including, `to` (following the links;
// the cursor stays) that `accept` takes.
template <class Accept>
int CountUpTo(const TInkelDataWT* from, const TInkelDataWT* to, Accept accept) {
    int count = 0;
    for (const TInkelDataWT* e = from; e && e != to; e = e->next)
        count += accept(*e) ? 1 : 0;
    return count;
}

}  // namespace

THostEvents TQuil3Reader::HostEvents() {
    return [this](int code, int value) { Notify(code, value); };
}

int TQuil3Reader::CursorPosition() const {
    const TInkelDataWT* next = document_->CurrentElement();
    return next ? next->index : elementCount_;
}

TPageMapping TQuil3Reader::ScreenMapping() const {
    TPageMapping m;
    m.originX = viewOriginX_;
    m.originY = viewOriginY_;
    m.scaleX = zoomX_;
    m.scaleY = zoomY_;
    m.widthScale = widthZoom_;
    return m;
}

void TQuil3Reader::NotifyPosition() {
    if (position_ == elementCount_)
        Notify(kEventEndReached, 0);
    else
        Notify(kEventPosition, position_);
}

// ---- Rewind ---------------------------------------------------------------

int TQuil3Reader::Rewind() {
    if (busy_) return 0;
    return RewindNow();
}

int TQuil3Reader::RewindNow() {
    strokeInProgress_ = false;
    if (document_) document_->FirstElement();
    position_ = 0;
    if (!renderer_) return 0;
    markerShown_ = false;  // the work surface is rewritten whole
    if (!pagePicture_.Empty()) {
        // The page goes up into the work surface uninverted.
        renderer_->SetInverted(false);
        renderer_->DisplayCanvas().Draw(0, 0, pagePicture_);
        renderer_->ExpandAll();
        renderer_->SetInverted(reverse_);
        if (reverse_) renderer_->ResolveAll();
    } else {
        renderer_->Clear();
    }
    return 1;
}

int TQuil3Reader::Redraw(bool progress) {
    if (busy_) return 0;
    return RedrawNow(progress);
}

int TQuil3Reader::RedrawNow(bool progress) {
    const int former = position_;
    RewindNow();
    return GoToNow(former, progress);
}

int TQuil3Reader::RedrawAll(bool progress) {
    if (busy_) return 0;
    return GoToNow(elementCount_, progress);
}

// ---- Drawing elements at once ---------------------------------------------

void TQuil3Reader::DrawStamp(const TStampDataWT& stamp) {
    if (!renderer_) return;
    const TStampRect r = MapStamp(stamp, ScreenMapping());
    DrawStampRule(*renderer_, stamp, r, workFactorX_, workFactorY_);
    renderer_->ResolveRect(TruncToInt(r.x), TruncToInt(r.y), TruncToInt(r.x + r.width + 1),
                           TruncToInt(r.y + r.height + 1));
}

void TQuil3Reader::DrawUpTo(const TInkelDataWT* target, const TElementFilter& accept,
                            TDrawingProgress& report, bool progress) {
    // Asked for before the host hears of the progress, so that it can show
    // the page drawn so far.
    const auto atProgress = [&] {
        if (progress) repaintPending_ = 1;
    };
    TElementRun run;
    run.first = document_->CurrentElement();
    run.end = target;
    run.accept = accept;
    run.mapping = ScreenMapping();
    run.stampFactorX = workFactorX_;
    run.stampFactorY = workFactorY_;
    if (renderer_)
        DrawElementsAtOnce(*renderer_, run, report, true, atProgress);
    else
        CountElements(run, report, atProgress);
    // The cursor ends on the target, as if it had walked there.
    document_->currentElement = const_cast<TInkelDataWT*>(target);
}

bool TQuil3Reader::GoForward(TInkelDataWT* targetElement, bool progress) {
    const TInkelDataWT* start = document_->CurrentElement();
    if (!start) return false;  // the page is complete
    // The view in page units; elements outside it are skipped.
    const float left = viewOriginX_, top = viewOriginY_;
    const float right = displayWidth_ / zoomX_ + viewOriginX_ + 1;
    const float bottom = displayHeight_ / zoomY_ + viewOriginY_ + 1;
    const auto inView = [=](const TInkelDataWT& e) {
        return e.Intersects(left, top, right, bottom);
    };
    TDrawingProgress report(HostEvents(), CountUpTo(start, targetElement, inView));
    if (renderer_) renderer_->SetPenMarker(false);
    DrawUpTo(targetElement, inView, report, progress);
    report.Finish();
    if (renderer_) {
        renderer_->SetPenMarker(true);
        renderer_->PresentAll();
    }
    return true;
}

void TQuil3Reader::GoBackward(TInkelDataWT* targetElement) {
    // The erase box: what the elements that disappear cover, with margin.
    TInkelDataWT* stop = document_->CurrentElement();
    bool any = false;
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (TInkelDataWT* e = targetElement; e && e != stop; e = e->next) {
        float l, t, r, b;
        if (!e->GetRedrawRect(l, t, r, b)) continue;
        if (!any) {
            x0 = l, y0 = t, x1 = r, y1 = b;
            any = true;
        } else {
            x0 = std::min(x0, l), y0 = std::min(y0, t), x1 = std::max(x1, r), y1 = std::max(y1, b);
        }
    }
    strokeInProgress_ = false;
    if (!renderer_ || !any) {
        // Nothing to restore: the cursor goes back to the target directly.
        document_->currentElement = targetElement;
        if (renderer_) renderer_->PresentAll();
        return;
    }
    const float ox = viewOriginX_, oy = viewOriginY_, zx = zoomX_, zy = zoomY_;
    const int ex0 = TruncToInt((x0 - ox) * zx), ey0 = TruncToInt((y0 - oy) * zy);
    const int ex1 = TruncToInt((x1 - ox) * zx), ey1 = TruncToInt((y1 - oy) * zy);

    renderer_->SetInverted(false);
    if (!pagePicture_.Empty())
        renderer_->DisplayCanvas().Draw(0, 0, pagePicture_);
    else
        renderer_->Clear();
    renderer_->ExpandRect(ex0, ey0, TruncToInt((x1 - ox) * zx + 1), TruncToInt((y1 - oy) * zy + 1));
    // The work surface inside the box is the bare page now. The display is
    // produced again with the inversion the user chose, so that with
    // Reverse on nothing outside the box is shown uninverted.
    renderer_->SetInverted(reverse_);
    renderer_->ResolveAll();
    renderer_->SetPenMarker(false);
    markerShown_ = false;

    // What is drawn again: every earlier element that reaches the restored
    // display pixels, taken as a page rectangle one display pixel larger on
    // every side, so that no ink of a neighbour that shares a boundary pixel
    // with the box is lost.
    const float rl = (ex0 - 1) / zx + ox, rt = (ey0 - 1) / zy + oy;
    const float rr = (ex1 + 2) / zx + ox, rb = (ey1 + 2) / zy + oy;
    const auto reachesBox = [=](const TInkelDataWT& e) { return e.Intersects(rl, rt, rr, rb); };
    TDrawingProgress report(HostEvents(),
                            CountUpTo(document_->firstElement, targetElement, reachesBox));
    // Stamps keep to the box as strokes do (the drawing limits both to the
    // clip): written whole they would cover later ink outside the box that
    // is not drawn again.
    renderer_->SetClipRect(ex0, ey0, ex1, ey1);
    document_->FirstElement();
    DrawUpTo(targetElement, reachesBox, report, false);
    renderer_->ClearClipRect();
    report.Finish();
    renderer_->SetPenMarker(true);
    renderer_->PresentAll();
}

// ---- GoTo -------------------------------------------------------------------

int TQuil3Reader::GoTo(int target, bool progress) {
    if (busy_) return 0;
    return GoToNow(target, progress);
}

int TQuil3Reader::GoToNow(int target, bool progress) {
    if (!document_) return 0;
    target = std::clamp(target, 0, elementCount_);
    if (target == 0) {
        RewindNow();
        Notify(kEventPosition, 0);
        if (renderer_) renderer_->PresentAll();
        return 1;
    }
    if (target == position_) {
        // The stroke that is being replayed is the element before the
        // position: completing it is all that is missing.
        if (strokeInProgress_) {
            FinishStrokeNow();
            NotifyPosition();
        }
        return 1;
    }
    {
        TBusyScope busy(busy_);
        FinishStrokeNow();
        TInkelDataWT* targetElement =
            target < elementCount_ ? document_->ElementAt(target, false) : nullptr;
        if (target > position_) {
            if (!GoForward(targetElement, progress)) return 1;
        } else {
            GoBackward(targetElement);
        }
    }
    position_ = target;
    NotifyPosition();
    return 1;
}

// ---- Live replay --------------------------------------------------------------

void TQuil3Reader::NotePenMarker() {
    // Eraser strokes and pen lifts leave no ring; DrawSegment has already
    // inverted back the ring of the point before.
    // A fully transparent stroke draws nothing at all, ring included.
    const bool ring = renderer_->PenMarker() && renderer_->IsValid() && renderer_->Opacity() != 0 &&
                      strokeElement_->eraser == 0 && nextPoint_.radius > 0;
    markerShown_ = ring;
    if (ring) markerPoint_ = nextPoint_;
}

void TQuil3Reader::RemovePenMarker() {
    if (!markerShown_ || !renderer_) return;
    markerShown_ = false;
    // The same not-xor ring the renderer drew at this point: drawn again it
    // gives the samples back exactly.
    renderer_->InvertPenMarker(&markerPoint_);
    const float x = markerPoint_.x, y = markerPoint_.y, r = markerPoint_.radius;
    renderer_->ResolveRect(TruncToInt(x - r) - 2, TruncToInt(y - r) - 2, TruncToInt(x + r) + 3,
                           TruncToInt(y + r) + 3);
    repaintPending_ = 1;
}

void TQuil3Reader::DrawPenPoint(bool first) {
    const bool eraser = strokeElement_->eraser != 0;
    if (first) {
        if (eraser)
            renderer_->EraseDot(&nextPoint_);
        else
            renderer_->DrawDot(&nextPoint_);
    } else {
        const PenSegment s{previousPoint_.x, previousPoint_.y, previousPoint_.radius,
                           nextPoint_.x,     nextPoint_.y,     nextPoint_.radius};
        if (eraser)
            renderer_->EraseSegment(&s);
        else
            renderer_->DrawSegment(&s);
    }
    NotePenMarker();
    previousPoint_ = nextPoint_;
    repaintPending_ = 1;
}

void TQuil3Reader::EndStrokeInProgress() {
    // A stroke whose last point keeps a radius would leave its ring on the
    // page for good.
    RemovePenMarker();
    strokeInProgress_ = false;
    document_->NextElement();  // the cursor moves past the stroke
}

int TQuil3Reader::FinishStroke() {
    if (busy_) return 0;
    return FinishStrokeNow();
}

int TQuil3Reader::FinishStrokeNow() {
    if (!strokeInProgress_) return 1;
    TStrokeDataWT* stroke = strokeElement_;
    if (renderer_) {
        // Completes the stroke from where the replay stands: drawing it again
        // from its start would blend a half-transparent stroke twice.
        renderer_->SetColor(stroke->color);
        renderer_->SetOpacity(int(stroke->opacity));
        RemovePenMarker();
        renderer_->SetPenMarker(false);
        for (TPenReplayPointWT* p = stroke->NextPoint(); p; p = stroke->NextPoint()) {
            nextPoint_ = ScreenMapping().Map(*p);
            DrawPenPoint(false);
        }
        markerShown_ = false;
        renderer_->SetPenMarker(true);
    }
    strokeInProgress_ = false;
    document_->NextElement();  // the cursor moves past the stroke
    position_ = CursorPosition();
    repaintPending_ = 1;
    return 1;
}

void TQuil3Reader::ReplayTick() {
    if (busy_) return;
    if (!renderer_) {
        StopNow();
        return;
    }
    if (!document_) return;
    if (strokeInProgress_) {
        const int n = replayStep_ <= 0 ? 1 : replayStep_;
        const TPageMapping mapping = ScreenMapping();
        for (int i = 0; i < n; ++i) {
            TPenReplayPointWT* p = strokeElement_->NextPoint();
            if (!p) {
                EndStrokeInProgress();
                return;
            }
            nextPoint_ = mapping.Map(*p);
            DrawPenPoint(false);
        }
        return;
    }
    TInkelDataWT* e = position_ < 1 ? document_->FirstElement() : document_->CurrentElement();
    if (!e) {
        StopNow();
        return;
    }
    ++position_;
    StartElement(e);
    // Told once the tick's work is done, so that a host reacting to it finds
    // the player in a settled state.
    Notify(kEventPosition, position_);
}

void TQuil3Reader::StartElement(TInkelDataWT* e) {
    if (e->kind == kStrokeKind) {
        strokeElement_ = static_cast<TStrokeDataWT*>(e);
        TPenReplayPointWT* p = strokeElement_->FirstPoint();
        if (!p) {  // a stroke without points has nothing to replay
            document_->NextElement();
            return;
        }
        strokeInProgress_ = true;
        renderer_->SetColor(strokeElement_->color);
        renderer_->SetOpacity(int(strokeElement_->opacity));
        nextPoint_ = ScreenMapping().Map(*p);
        DrawPenPoint(true);
        return;
    }
    if (e->kind == kStampKind) DrawStamp(*static_cast<TStampDataWT*>(e));
    repaintPending_ = 1;
    document_->NextElement();
}

// ---- Transport and navigation ---------------------------------------------------

int TQuil3Reader::Play() {
    if (busy_ || playState_ == kNoRecording) return 0;
    if (playState_ == kStopped && position_ == elementCount_) {
        TReplayTimerPause pause(*replayTimer_);
        GoToNow(0, false);
    }
    playState_ = kPlaying;
    replayTimer_->SetEnabled(true);
    return 1;
}

int TQuil3Reader::Pause() {
    if (busy_ || playState_ == kNoRecording) return 0;
    if (playState_ == kPlaying) {
        playState_ = kPaused;
        replayTimer_->SetEnabled(false);
    }
    return 1;
}

int TQuil3Reader::PlayPause() {
    if (busy_ || playState_ == kNoRecording) return 0;
    return playState_ == kPlaying ? Pause() : Play();
}

int TQuil3Reader::Stop() {
    if (busy_) return 0;
    return StopNow();
}

int TQuil3Reader::StopNow() {
    if (playState_ == kNoRecording) return 0;
    replayTimer_->SetEnabled(false);
    GoToNow(elementCount_, false);
    playState_ = kStopped;
    Notify(kEventEndReached, 0);
    return 1;
}

int TQuil3Reader::First() {
    if (busy_ || !document_) return 0;
    TReplayTimerPause pause(*replayTimer_);
    return GoToNow(0, false);
}

int TQuil3Reader::Last() {
    if (busy_ || !document_) return 0;
    TReplayTimerPause pause(*replayTimer_);
    return GoToNow(elementCount_, false);
}

int TQuil3Reader::Previous() {
    if (busy_ || !document_) return 0;
    TReplayTimerPause pause(*replayTimer_);
    // A half-drawn stroke goes together with the element before it.
    return GoToNow(strokeInProgress_ ? position_ - 2 : position_ - 1, false);
}

int TQuil3Reader::Next() {
    if (busy_ || !document_) return 0;
    TReplayTimerPause pause(*replayTimer_);
    if (strokeInProgress_) return FinishStrokeNow();
    return GoToNow(position_ + 1, false);
}

int TQuil3Reader::Seek(int x, int width) {
    if (busy_ || !document_ || width == 0) return 0;
    int target = x;
    if (width > 0) target = TruncToInt(double(x) * elementCount_ / width + 0.5);
    TReplayTimerPause pause(*replayTimer_);
    if (strokeInProgress_) {
        FinishStrokeNow();
        repaintPending_ = 0;
    }
    return GoToNow(target, false);
}

}  // namespace quil
