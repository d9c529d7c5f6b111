#include "render/fuzzy_line.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quil {

namespace {

// The target as a 24-bit picture: an 8-bit grey one is widened in place.
void MakeTwentyFourBit(TBitmap& target) {
    if (target.Empty() || target.BitsPerPixel() == 24) return;
    TBitmap wide;
    if (!wide.Create(target.Width(), target.Height(), 24, 0xFF)) return;
    TCanvas(&wide).BitBlt(0, 0, target.Width(), target.Height(), target, 0, 0);
    target = std::move(wide);
}

}  // namespace

TFuzzyLine::TFuzzyLine(TBitmap& target) : target_(target) {
    MakeTwentyFourBit(target_);
    if (target_.Empty() || target_.BitsPerPixel() != 24) return;
    width_ = target_.Width();
    height_ = target_.Height();
    const uint64_t bytes = uint64_t(12) * uint64_t(width_) * 4 * uint64_t(height_);
    if (int64_t(width_) * 4 > INT32_MAX / 3 || int64_t(height_) * 4 > INT32_MAX ||
        !FitsInMemory(bytes) || !work_.Create(4 * width_, 4 * height_, 24, 0xFF)) {
        work_.Reset();
        return;
    }
    canvas_.Attach(&work_);
    canvas_.SetPenColor(color_);
    canvas_.SetBrushColor(color_);
    canvas_.SetBrushStyle(TBrushStyle::Solid);
}

void TFuzzyLine::ResolveRect(int x0, int y0, int x1, int y1) {
    if (!IsValid() || target_.Width() != width_ || target_.Height() != height_) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width_);
    y0 = std::max(y0, 0);
    y1 = std::min(y1, height_);
    for (int y = y0; y < y1; ++y) {
        const uint8_t* r0 = work_.ScanLine(4 * y);
        const uint8_t* r1 = work_.ScanLine(4 * y + 1);
        const uint8_t* r2 = work_.ScanLine(4 * y + 2);
        const uint8_t* r3 = work_.ScanLine(4 * y + 3);
        uint8_t* out = target_.ScanLine(y);
        for (int x = x0; x < x1; ++x) {
            const int o = 12 * x;
            for (int c = 0; c < 3; ++c) {
                unsigned v = 0;
                for (int k = o + c; k < o + 12; k += 3)
                    v += r0[k] + r1[k] + r2[k] + r3[k];
                out[3 * x + c] = uint8_t(v >> 4);
            }
        }
    }
}

void TFuzzyLine::ResolveAll() { ResolveRect(0, 0, width_, height_); }

void TFuzzyLine::Clear() {
    if (!IsValid() || target_.Width() != width_ || target_.Height() != height_) return;
    target_.Fill(0xFF);
    work_.Fill(0xFF);
}

}  // namespace quil
