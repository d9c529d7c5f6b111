#pragma once

#include <cstdint>
#include <cstring>
#include <random>

#include "platform/bitmap.h"

namespace quil::testing {

// A picture of random bytes, so that an inverting pen shows every touch.
inline TBitmap NoisePicture(int w, int h, int bpp, uint32_t start) {
    TBitmap b;
    b.Create(w, h, bpp, 0);
    std::mt19937 rng(start);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = b.ScanLine(y);
        for (int i = 0; i < w * bpp / 8; ++i)
            row[i] = uint8_t(rng());
    }
    return b;
}

inline bool SamePixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.BitsPerPixel() != b.BitsPerPixel())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.ScanLine(y), b.ScanLine(y), size_t(a.Width()) * a.BytesPerPixel()) != 0)
            return false;
    return true;
}

}  // namespace quil::testing
