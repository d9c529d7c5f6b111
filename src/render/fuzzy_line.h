#pragma once

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/color.h"

namespace quil {

// A 4 x 4 supersampled drawing target for any picture: the caller draws onto
// WorkBitmap() (four times as wide and tall as the target) and ResolveAll or
// ResolveRect average each 4 x 4 block into one target pixel. The target is
// made 24-bit at construction and must keep its size while this lives.
// IsValid() is false when the work picture could not be allocated; the
// operations then do nothing.
class TFuzzyLine {
public:
    explicit TFuzzyLine(TBitmap& target);
    TFuzzyLine(const TFuzzyLine&) = delete;
    TFuzzyLine& operator=(const TFuzzyLine&) = delete;

    bool IsValid() const { return !work_.Empty(); }
    TBitmap& WorkBitmap() { return work_; }
    // A canvas on the work picture: black pen and solid black brush.
    TCanvas& WorkCanvas() { return canvas_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Target pixels, x1 and y1 exclusive; clamped to the target.
    void ResolveRect(int x0, int y0, int x1, int y1);
    void ResolveAll();
    // Target and work picture white.
    void Clear();

private:
    int width_ = 0;
    int height_ = 0;
    COLORREF color_ = kBlack;
    TBitmap& target_;
    TBitmap work_;
    TCanvas canvas_;
};

}  // namespace quil
