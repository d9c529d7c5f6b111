#include "video/replay_frames.h"

#include <algorithm>

#include "player/replay_rates.h"

namespace quil {

TReplayFrames::TReplayFrames(const TReplayVideoOptions& options)
    : options_(options), player_(timers_, nullptr, 0, 0) {}

int TReplayFrames::Open(const std::filesystem::path& recording) {
    player_.SetLayout(this, options_.width, options_.height, options_.zoom, 0.0f, 0.0f);
    player_.SetQuality(options_.quality);
    const int code = player_.Open(recording);
    if (code != 0) return code;
    const TFuzzyLineGDI* renderer = player_.Renderer();
    if (!renderer || !renderer->IsValid() || player_.PagePicture().Empty()) return kFramesTooLarge;
    if (player_.HasBackground()) player_.SetBackground(true);
    if (player_.HasGrid()) player_.SetGrid(true);
    if (options_.grid) player_.SetGrid(*options_.grid);
    if (options_.background) player_.SetBackground(*options_.background);
    player_.SetReverse(options_.reverse);
    player_.Show(true);
    player_.SetReplayStep(options_.step);
    // A position as a click in the replay strip sets it; the complete page
    // leaves nothing to replay, and Play there would start from the empty
    // page instead.
    player_.Seek(options_.from, -1);
    if (player_.Position() < player_.ElementCount()) player_.Play();
    replayTimer_ = timers_.WithInterval(kReplayIntervalMs);
    changed_ = {0, 0, options_.width, options_.height};
    return 0;
}

bool TReplayFrames::Playing() const { return replayTimer_ && replayTimer_->Enabled(); }

void TReplayFrames::AdvanceTo(int64_t ticks) {
    while (ticksRun_ < ticks && Playing()) {
        replayTimer_->Tick();
        ++ticksRun_;
    }
    player_.RepaintTick();
}

int64_t TReplayFrames::RunToEnd() {
    while (Playing()) {
        replayTimer_->Tick();
        ++ticksRun_;
    }
    return ticksRun_;
}

const TBitmap& TReplayFrames::Display() const { return player_.Renderer()->DisplayDC(); }

void TReplayFrames::Present(const TBitmap& /*display*/, int x, int y, int width, int height) {
    const TRect shown{std::max(x, 0), std::max(y, 0), std::min(x + width, options_.width),
                      std::min(y + height, options_.height)};
    if (shown.left >= shown.right || shown.top >= shown.bottom) return;
    if (changed_.left >= changed_.right) {
        changed_ = shown;
        return;
    }
    changed_.left = std::min(changed_.left, shown.left);
    changed_.top = std::min(changed_.top, shown.top);
    changed_.right = std::max(changed_.right, shown.right);
    changed_.bottom = std::max(changed_.bottom, shown.bottom);
}

TRect TReplayFrames::TakeChanged() {
    const TRect changed = changed_;
    changed_ = {};
    return changed;
}

}  // namespace quil
