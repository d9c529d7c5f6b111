#pragma once

#include "platform/bitmap.h"

namespace quil {

// A window that a renderer presents to. The renderer hands it copies of
// rectangles of its display surface; the window shows each at the same place.
// The core never sees the toolkit behind it.
class IPresentTarget {
public:
    virtual ~IPresentTarget() = default;

    // Show the rectangle (x, y, width, height) of `display` at (x, y).
    virtual void Present(const TBitmap& display, int x, int y, int width, int height) = 0;

    // Copy what the window shows now into `into` (top-left aligned); a
    // window that cannot read back leaves it as it is.
    virtual void ReadBack(TBitmap& into) { (void)into; }
};

}  // namespace quil
