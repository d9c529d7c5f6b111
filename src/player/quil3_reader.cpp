#include "player/quil3_reader.h"

#include <cmath>

#include "model/load_recording.h"
#include "player/page_render.h"
#include "player/reader_scopes.h"
#include "player/replay_rates.h"
#include "render/renderer_factory.h"

namespace quil {

namespace {

// Work factor per axis of the renderer of each quality.
float WorkFactorOf(int quality) { return quality == 0 ? 1.0f : quality == 1 ? 2.0f : 4.0f; }

// The page picture and the renderer's surfaces at a display size together;
// UINT64_MAX for a size no renderer can have (0 x 0 among them).
uint64_t DisplayBytes(int quality, int width, int height) {
    return PlusPictureBytes(TFuzzyLineGDI::SurfaceBytes(int(WorkFactorOf(quality)), width, height),
                            width, height);
}

}  // namespace

TQuil3Reader::TQuil3Reader(ITimerFactory& timers, IPresentTarget* window, int width, int height)
    : window_(window),
      displayWidth_(width < 0 ? 0 : width),
      displayHeight_(height < 0 ? 0 : height),
      replayStep_(kInitialReplayStep) {
    repaintTimer_ = timers.CreateTimer();
    repaintTimer_->SetInterval(kRepaintIntervalMs);
    repaintTimer_->SetHandler([this] { RepaintTick(); });
    repaintTimer_->SetEnabled(true);
    replayTimer_ = timers.CreateTimer();
    replayTimer_->SetInterval(kReplayIntervalMs);
    replayTimer_->SetHandler([this] { ReplayTick(); });
    replayTimer_->SetEnabled(false);
}

TQuil3Reader::~TQuil3Reader() {
    replayTimer_->SetEnabled(false);
    replayTimer_.reset();
    repaintTimer_.reset();
}

void TQuil3Reader::Notify(int, int) {}

int TQuil3Reader::CreateRenderer(int quality) {
    if (busy_) return 0;
    FreeRenderer();
    pagePicture_.Reset();
    quality_ = quality;
    workFactorX_ = workFactorY_ = WorkFactorOf(quality);
    // The page picture and the renderer's surfaces are weighed together
    // before either is made. A display too large for them gets a renderer
    // without surfaces (not valid), which draws nothing; a 0 x 0 display
    // (before the first layout) has no page picture either.
    const uint64_t bytes = DisplayBytes(quality, displayWidth_, displayHeight_);
    const bool fits = bytes != UINT64_MAX && FitsInMemory(bytes);
    if (fits) pagePicture_.Create(displayWidth_, displayHeight_);
    renderer_ = MakeRenderer(quality, window_, fits ? displayWidth_ : 0, fits ? displayHeight_ : 0);
    markerShown_ = false;
    renderer_->Clear();
    renderer_->SetInverted(reverse_);
    return 1;
}

int TQuil3Reader::FreeRenderer() {
    renderer_.reset();
    markerShown_ = false;
    return 1;
}

int TQuil3Reader::SetQuality(int quality) {
    if (busy_) return 0;
    if (renderer_ && quality == quality_) return 1;
    if (quality < 0 || quality > 2) return 0;
    TReplayTimerPause pause(*replayTimer_);
    CreateRenderer(quality);
    ComposePageNow();
    RedrawNow(false);
    return 1;
}

int TQuil3Reader::SetLayout(IPresentTarget* window, int width, int height, float zoom,
                            float originX, float originY) {
    if (busy_) return 0;
    // A zoom that is not a positive number would map the page nowhere.
    if (!(zoom > 0.0f) || !std::isfinite(zoom) || width < 0 || height < 0 ||
        !std::isfinite(originX) || !std::isfinite(originY))
        return 0;
    if (window == window_ && width == displayWidth_ && height == displayHeight_ && zoom == zoomX_ &&
        zoom == zoomY_ && zoom == widthZoom_ && originX == viewOriginX_ && originY == viewOriginY_)
        return 1;
    TReplayTimerPause pause(*replayTimer_);
    window_ = window;
    displayWidth_ = width;
    displayHeight_ = height;
    zoomX_ = zoomY_ = widthZoom_ = zoom;
    viewOriginX_ = originX;
    viewOriginY_ = originY;
    if (renderer_) {
        CreateRenderer(quality_);
        ComposePageNow();
        RedrawNow(false);
    }
    return 1;
}

int TQuil3Reader::SetReplayStep(int step) {
    if (busy_ || step <= 0) return 0;
    replayStep_ = step;
    return 1;
}

int TQuil3Reader::SetReverse(bool on) {
    if (busy_) return 0;
    if (on == reverse_) return 1;
    reverse_ = on;
    if (!renderer_) return 1;
    TReplayTimerPause pause(*replayTimer_);
    // Only the display surface is produced inverted; the work surface stays,
    // so turning Reverse off gives the former pixels back exactly.
    renderer_->SetInverted(on);
    renderer_->ResolveAll();
    repaintPending_ = 1;
    return 1;
}

int TQuil3Reader::SetGrid(bool on) {
    if (busy_) return 0;
    if (on == gridOption_) return 1;
    gridOption_ = on;
    TReplayTimerPause pause(*replayTimer_);
    ComposePageNow();
    RedrawNow(false);
    return 1;
}

int TQuil3Reader::SetBackground(bool on) {
    if (busy_) return 0;
    if (on == backgroundOption_) return 1;
    backgroundOption_ = on;
    TReplayTimerPause pause(*replayTimer_);
    ComposePageNow();
    RedrawNow(false);
    return 1;
}

int TQuil3Reader::Open(const std::filesystem::path& path) {
    if (busy_) return kOpenRefusedBusy;
    Close();
    document_ = std::make_unique<TPenReplayWT>(kDefaultPageWidth, kDefaultPageHeight);
    const int result = LoadRecording(*document_, path);
    if (result != kLoadOk) {
        document_.reset();
        Notify(kEventNoRecording, 0);
        return result;
    }
    elementCount_ = document_->ElementCount();
    position_ = 0;
    if (!renderer_) CreateRenderer(quality_);
    hasGrid_ = UnpackGrid(*document_, grid_);
    hasBackground_ = HasBackgroundPicture(*document_);
    pageWidth_ = document_->GetPageWidth();
    pageHeight_ = document_->GetPageHeight();
    playState_ = kStopped;
    document_->FirstElement();  // the cursor on the first element to start
    // The host hears of the recording once the player holds all of it.
    Notify(kEventTotal, elementCount_);
    Notify(kEventPosition, 0);
    return kLoadOk;
}

int TQuil3Reader::Close() {
    if (busy_) return 0;
    document_.reset();
    strokeElement_ = nullptr;
    replayTimer_->SetEnabled(false);
    if (renderer_) {
        renderer_->Clear();
        renderer_->PresentAll();
        FreeRenderer();
    }
    hasBackground_ = hasGrid_ = strokeInProgress_ = false;
    grid_ = {};
    pageWidth_ = pageHeight_ = 1;
    elementCount_ = position_ = 0;
    playState_ = kNoRecording;
    Notify(kEventNoRecording, 0);
    return 1;
}

int TQuil3Reader::Show(bool progress) {
    if (busy_) return 0;
    ComposePageNow();
    RewindNow();
    if (progress && renderer_) {
        renderer_->PresentAll();
        repaintPending_ = 0;
    }
    GoToNow(elementCount_, progress);
    return 1;
}

int TQuil3Reader::Repaint() {
    if (renderer_) renderer_->PresentAll();
    return 1;
}

int TQuil3Reader::RepaintTick() {
    // Runs during long drawings as well: it only copies to the window.
    if (repaintPending_) {
        if (renderer_) renderer_->PresentDirty();
        repaintPending_ = 0;
    }
    return 1;
}

}  // namespace quil
