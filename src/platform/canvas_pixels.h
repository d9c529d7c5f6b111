#pragma once

#include <cstdint>

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/color.h"

namespace quil {

// The grey a colour writes onto an 8-bit grey picture (white 255, black 0).
inline uint8_t GreyOf(COLORREF c) {
    return uint8_t((RedOf(c) * 77u + GreenOf(c) * 150u + BlueOf(c) * 29u) >> 8);
}

// Writes colour c over pixels x0..x1 (inclusive) of row y in the given mix
// mode, clipped to the picture.
void WriteSpan(TBitmap& target, int y, int x0, int x1, COLORREF c, TPenMode mode);

}  // namespace quil
