#include "app/replay_strip.h"

#include <algorithm>

#include "app/strip_tiles.h"
#include "platform/canvas.h"

namespace quil {

TReplayStrip::TReplayStrip(int height)
    : grey_(MakeStripTile(TStripTile::Grey)),
      blue_(MakeStripTile(TStripTile::Blue)),
      green_(MakeStripTile(TStripTile::Green)) {
    picture_.Create(kStripWidth, std::max(height, 1));
}

// Stretches columns [a, b) of all rows of the tile onto columns
// [left, right) over the strip's full height; nothing when right <= left.
void TReplayStrip::Copy(const TBitmap& tile, TPart part, int left, int right) {
    if (right <= left) return;
    const int a = part == TPart::LeftCap ? 0 : part == TPart::Middle ? 3 : 7;
    const int b = part == TPart::LeftCap ? 2 : part == TPart::Middle ? 6 : 9;
    TCanvas canvas(&picture_);
    canvas.StretchBlt(left, 0, right - left, Height(), tile, a, 0, b - a, kStripTileSize);
    const int l = std::max(left, 0), r = std::min(right, Width());
    if (l >= r) return;
    if (changedLeft_ >= changedRight_) {
        changedLeft_ = l;
        changedRight_ = r;
    } else {
        changedLeft_ = std::min(changedLeft_, l);
        changedRight_ = std::max(changedRight_, r);
    }
}

TRect TReplayStrip::TakeChanged() {
    const TRect changed{changedLeft_, 0, changedRight_,
                        changedLeft_ < changedRight_ ? Height() : 0};
    changedLeft_ = changedRight_ = 0;
    return changed;
}

void TReplayStrip::DrawReplayStrip(int position, int total) {
    if (position == -2 && total == -2) {
        PaintComplete();
        return;
    }
    if (total >= 0) total_ = total;
    if (position >= 0) position_ = position;
    if (paintedWidth_ == Width() && total_ > 0)
        PaintInPlace(int(int64_t(position_) * Width() / total_));
    else
        PaintWhole();
}

void TReplayStrip::PaintComplete() {
    const int w = Width();
    Copy(green_, TPart::LeftCap, 0, 2);
    Copy(green_, TPart::Middle, 2, w - 2);
    Copy(green_, TPart::RightCap, w - 2, w);
    fillEnd_ = -1;
    paintedWidth_ = 0;
}

// Only the columns between the old and the new end of the blue part change.
void TReplayStrip::PaintInPlace(int x) {
    const int w = Width();
    if (x == fillEnd_) return;
    if (x > fillEnd_) {
        if (fillEnd_ <= 2) {
            Copy(blue_, TPart::LeftCap, 0, 2);
            // The middle starts after the cap, which it would otherwise cover.
            Copy(blue_, TPart::Middle, 2, x - 2);
        } else {
            Copy(blue_, TPart::Middle, fillEnd_ - 2, x - 2);
        }
        Copy(blue_, TPart::RightCap, x - 2, x);
    } else {
        Copy(blue_, TPart::RightCap, x - 2, x);
        if (fillEnd_ < w - 2) {
            Copy(grey_, TPart::Middle, x, fillEnd_);
        } else {
            Copy(grey_, TPart::Middle, x, w - 2);
            Copy(grey_, TPart::RightCap, w - 2, w);
        }
    }
    fillEnd_ = x;
}

void TReplayStrip::PaintWhole() {
    const int w = Width();
    paintedWidth_ = w;
    if (total_ <= 0) {
        Copy(grey_, TPart::LeftCap, 0, 2);
        Copy(grey_, TPart::Middle, 2, w - 2);
        Copy(grey_, TPart::RightCap, w - 2, w);
        fillEnd_ = -1;
        return;
    }
    const int x = int(int64_t(position_) * w / total_);
    // Grey from the end of the blue part: column x too, so that nothing of
    // an earlier painting (the green of a complete strip) stays there.
    Copy(grey_, TPart::Middle, x, w - 2);
    Copy(grey_, TPart::RightCap, w - 2, w);
    Copy(blue_, TPart::LeftCap, 0, 2);
    Copy(blue_, TPart::Middle, 2, x - 2);
    Copy(blue_, TPart::RightCap, x - 2, x);
    fillEnd_ = x;
}

}  // namespace quil
