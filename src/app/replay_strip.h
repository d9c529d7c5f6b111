#pragma once

#include "platform/bitmap.h"
#include "platform/geometry.h"

namespace quil {

constexpr int kStripWidth = 250;

// The replay strip of the status bar: how far the replay has come. The part
// already replayed is blue and the rest grey; the whole strip is green when
// the replay was stopped with the page complete. It paints into its own
// picture from three tiles, stretching their caps and middles, and while the
// position moves it repaints only the columns that change.
class TReplayStrip {
public:
    explicit TReplayStrip(int height);

    // A negative argument keeps the stored value; (-2, -2) paints the strip
    // complete. Host event 4 passes (0, 0), 5 (-1, total), 6 (position, -1)
    // and 7 (-2, -2).
    void DrawReplayStrip(int position, int total);

    const TBitmap& Picture() const { return picture_; }
    int Width() const { return picture_.Width(); }
    int Height() const { return picture_.Height(); }
    int FillEnd() const { return fillEnd_; }
    int PaintedWidth() const { return paintedWidth_; }
    int Position() const { return position_; }
    int Total() const { return total_; }

    // The columns [left, right) painted since the last call (top 0, bottom
    // the height); an empty rectangle when none.
    TRect TakeChanged();

private:
    enum class TPart { LeftCap, Middle, RightCap };
    void Copy(const TBitmap& tile, TPart part, int left, int right);
    void PaintComplete();
    void PaintInPlace(int x);
    void PaintWhole();

    TBitmap picture_;
    TBitmap grey_, blue_, green_;
    int fillEnd_ = -1;
    int paintedWidth_ = 0;
    int position_ = 0;
    int total_ = 0;
    int changedLeft_ = 0;
    int changedRight_ = 0;
};

}  // namespace quil
