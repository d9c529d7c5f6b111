#pragma once

#include <filesystem>
#include <functional>
#include <memory>

#include "model/document.h"
#include "model/page_size.h"
#include "platform/bitmap.h"
#include "platform/present_target.h"
#include "platform/printer.h"
#include "platform/timer.h"
#include "player/element_drawing.h"
#include "player/element_rules.h"
#include "player/grid_params.h"
#include "player/host_events.h"
#include "player/page_geometry.h"
#include "player/print_render.h"
#include "render/fuzzy_line_gdi.h"

namespace quil {

// Play states.
constexpr int kNoRecording = -1;
constexpr int kStopped = 0;
constexpr int kPlaying = 1;
constexpr int kPaused = 2;

// Open's result when the player is busy drawing (load codes are 0 .. 6).
constexpr int kOpenRefusedBusy = -1;

// The player: owns the loaded recording, the screen renderer of the chosen
// quality, the page picture (paper, background and grid at display size) and
// the replay and repaint timers. It composes the page, replays it point by
// point, navigates by element and renders the page off screen and for the
// printer.
//
// Operations return 1 when done or when there is nothing to do and 0 when
// refused. While a long drawing runs (GoTo, RenderToBitmap,
// RenderToPrinter) host events may let the host process messages: every
// command arriving then is refused (IsBusy() tells the host to defer it)
// and timer ticks do nothing.
class TQuil3Reader {
public:
    // window nullptr: off screen. The size may be 0 x 0 until the first layout.
    TQuil3Reader(ITimerFactory& timers, IPresentTarget* window, int width, int height);
    virtual ~TQuil3Reader();
    TQuil3Reader(const TQuil3Reader&) = delete;
    TQuil3Reader& operator=(const TQuil3Reader&) = delete;

    // Host events; does nothing here.
    virtual void Notify(int code, int value);

    // Recording and display.
    int Open(const std::filesystem::path& path);  // 0 or a load result code
    int Close();
    int Show(bool progress);
    int SetLayout(IPresentTarget* window, int width, int height, float zoom, float originX,
                  float originY);
    int SetQuality(int quality);
    int SetReplayStep(int step);
    int SetReverse(bool on);
    int SetGrid(bool on);
    int SetBackground(bool on);
    int Repaint();
    int RepaintTick();
    int CreateRenderer(int quality);
    int FreeRenderer();

    // Page composition.
    int ComposePage();
    int DrawGrid();

    // Replay and navigation.
    int Play();
    int Pause();
    int PlayPause();
    int Stop();
    int First();
    int Last();
    int Previous();
    int Next();
    int Seek(int x, int width);
    int GoTo(int target, bool progress);
    int FinishStroke();
    int Rewind();
    int Redraw(bool progress);
    int RedrawAll(bool progress);
    void ReplayTick();

    // Off-screen rendering of the page at the current position into a
    // 24-bit picture of any size. 0 without a document, when busy, or when
    // the picture or the renderer cannot be had.
    int RenderToBitmap(TBitmap& target, bool stretch);

    // Print rendering of an area of the page at the current position as
    // one printer job of one page (see PrintPage). 1 when printed; 0
    // without a document, when busy, or when the print was refused, and
    // `status` (when given) says which.
    int RenderToPrinter(IPrinter& printer, const TPrintRequest& request,
                        TPrintStatus* status = nullptr);

    // State for the window, the exporter and the tool.
    int PageWidth() const { return pageWidth_; }
    int PageHeight() const { return pageHeight_; }
    bool HasBackground() const { return hasBackground_; }
    bool HasGrid() const { return hasGrid_; }
    bool GridOption() const { return gridOption_; }
    bool BackgroundOption() const { return backgroundOption_; }
    bool Reverse() const { return reverse_; }
    int Quality() const { return quality_; }
    int ReplayStep() const { return replayStep_; }
    int Position() const { return position_; }
    int ElementCount() const { return elementCount_; }
    int PlayState() const { return playState_; }
    bool StrokeInProgress() const { return strokeInProgress_; }
    bool RepaintPending() const { return repaintPending_ != 0; }
    bool IsBusy() const { return busy_; }
    const TPenReplayWT* Document() const { return document_.get(); }
    TFuzzyLineGDI* Renderer() const { return renderer_.get(); }
    const TBitmap& PagePicture() const { return pagePicture_; }
    const TGridParams& Grid() const { return grid_; }
    int DisplayWidth() const { return displayWidth_; }
    int DisplayHeight() const { return displayHeight_; }
    float Zoom() const { return zoomX_; }
    bool ReplayTimerRunning() const { return replayTimer_ && replayTimer_->Enabled(); }

private:
    class TReplayTimerPause;
    class TBusyScope;

    // Work of the commands, without the busy check, for use inside them.
    int GoToNow(int target, bool progress);
    int FinishStrokeNow();
    int RewindNow();
    int ComposePageNow();
    int RedrawNow(bool progress);
    int StopNow();

    // Page composition.
    void LayBackground();
    void LayTiledBackground(const TBitmap& picture);
    void LayPlacedBackground(const TBitmap& picture);

    // Replay engine.
    TPageMapping ScreenMapping() const;
    TSize PageSize() const { return {pageWidth_, pageHeight_}; }
    THostEvents HostEvents();
    // Where the document's cursor stands: the index of the element the
    // replay would start next, or the element count past the last.
    int CursorPosition() const;
    TPageOptions PageOptions() const { return {backgroundOption_, gridOption_}; }
    // A stamp on the screen at once, resolved: a replay tick's whole element.
    void DrawStamp(const TStampDataWT& stamp);
    // Moves the document's cursor from where it stands on to `target`
    // (nowhere: the end), drawing on the way, all at once, the elements
    // `accept` takes (strokes and stamps limited by the clip rectangle):
    // the one step by which a jump both draws and positions the replay.
    void DrawUpTo(const TInkelDataWT* target, const TElementFilter& accept,
                  TDrawingProgress& report, bool progress);
    bool GoForward(TInkelDataWT* targetElement, bool progress);
    void GoBackward(TInkelDataWT* targetElement);
    void StartElement(TInkelDataWT* element);
    void DrawPenPoint(bool first);
    void NotePenMarker();
    void RemovePenMarker();
    void EndStrokeInProgress();
    void NotifyPosition();

    // Display.
    IPresentTarget* window_;
    int displayWidth_;
    int displayHeight_;
    float zoomX_ = 1.0f, zoomY_ = 1.0f, widthZoom_ = 1.0f;
    float viewOriginX_ = 0.0f, viewOriginY_ = 0.0f;
    TGridParams grid_;
    PenPoint previousPoint_{};
    PenPoint nextPoint_{};
    int playState_ = kNoRecording;
    TBitmap pagePicture_;
    int elementCount_ = 0;
    int position_ = -1;
    int quality_ = 2;
    float workFactorX_ = 4.0f, workFactorY_ = 4.0f;
    int replayStep_;
    int repaintPending_ = 0;
    bool reverse_ = false;
    bool gridOption_ = true;
    bool backgroundOption_ = true;
    bool strokeInProgress_ = false;
    // The stroke in progress; the document's cursor stands on it until it
    // is finished, and otherwise on the next element to start.
    TStrokeDataWT* strokeElement_ = nullptr;
    std::unique_ptr<TPenReplayWT> document_;
    std::unique_ptr<TFuzzyLineGDI> renderer_;
    bool hasBackground_ = false;
    bool hasGrid_ = false;
    int pageWidth_ = kDefaultPageWidth;
    int pageHeight_ = kDefaultPageHeight;

    // The pen marker ring the last replayed point left on the work surface.
    bool markerShown_ = false;
    PenPoint markerPoint_{};
    // A GoTo or RenderToBitmap is drawing.
    bool busy_ = false;

    // Declared last so that they go first: no tick reaches a half-destroyed player.
    std::unique_ptr<ITimer> repaintTimer_;
    std::unique_ptr<ITimer> replayTimer_;
};

}  // namespace quil
