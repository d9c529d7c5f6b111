#include "print/area_selection.h"

#include <algorithm>

namespace quil {

namespace {

constexpr int kGrabBorder = 5;

// Moves the near edge (left or top) of a span [start, start + size) by d
// while its far edge stays: at least kMinAreaSide when it shrinks, never
// before 0 nor larger than `limit` when it grows.
void DragNearEdge(int& start, int& size, int d, int limit) {
    int newSize = size - d;
    if (d > 0) {
        newSize = std::max(newSize, kMinAreaSide);
    } else if (d < 0) {
        if (start + d < 0) d = -start;
        newSize = std::min(size - d, limit);
    }
    start += size - newSize;
    size = newSize;
}

// Moves the far edge (right or bottom): at least kMinAreaSide, at most up to
// `limit`.
void DragFarEdge(int start, int& size, int d, int limit) {
    int newSize = size + d;
    if (newSize < kMinAreaSide)
        newSize = kMinAreaSide;
    else if (start + newSize > limit)
        newSize = limit - start;
    size = newSize;
}

void MoveSpan(int& start, int size, int d, int limit) {
    start += d;
    if (start < 0)
        start = 0;
    else if (start + size > limit)
        start = limit - size;
}

}  // namespace

TGrabZone TAreaSelection::ZoneAt(int x, int y) const {
    // Column 2 left, 5 right, 8 middle, less 2 for the top row and 1 for the
    // bottom row: 0 .. 8 name the zones.
    const int column = x < kGrabBorder ? 2 : x > rect_.width - kGrabBorder - 1 ? 5 : 8;
    const int row = y < kGrabBorder ? 2 : y > rect_.height - kGrabBorder - 1 ? 1 : 0;
    return TGrabZone(column - row);
}

TGrabCursor TAreaSelection::CursorFor(TGrabZone zone) {
    switch (zone) {
    case kGrabTopLeft:
    case kGrabBottomRight: return TGrabCursor::SizeNWSE;
    case kGrabTopRight:
    case kGrabBottomLeft: return TGrabCursor::SizeNESW;
    case kGrabLeft:
    case kGrabRight: return TGrabCursor::SizeWE;
    case kGrabTop:
    case kGrabBottom: return TGrabCursor::SizeNS;
    case kGrabMove: break;
    }
    return TGrabCursor::SizeAll;
}

void TAreaSelection::MouseDown(int x, int y) {
    dragging_ = true;
    zone_ = ZoneAt(x, y);
    lastX_ = x + rect_.left;
    lastY_ = y + rect_.top;
}

void TAreaSelection::MouseMove(int x, int y) {
    if (!dragging_) return;
    const int px = x + rect_.left, py = y + rect_.top;
    const int dx = px - lastX_, dy = py - lastY_;
    switch (zone_) {
    case kGrabTopLeft:
        DragLeft(dx);
        DragTop(dy);
        break;
    case kGrabBottomLeft:
        DragLeft(dx);
        DragBottom(dy);
        break;
    case kGrabLeft: DragLeft(dx); break;
    case kGrabTopRight:
        DragTop(dy);
        DragRight(dx);
        break;
    case kGrabBottomRight:
        DragRight(dx);
        DragBottom(dy);
        break;
    case kGrabRight: DragRight(dx); break;
    case kGrabTop: DragTop(dy); break;
    case kGrabBottom: DragBottom(dy); break;
    case kGrabMove: Move(dx, dy); break;
    }
    // The mouse position, also when the rectangle stopped at a limit.
    lastX_ = px;
    lastY_ = py;
}

void TAreaSelection::DragLeft(int dx) {
    DragNearEdge(rect_.left, rect_.width, dx, kAreaPreviewWidth);
}
void TAreaSelection::DragTop(int dy) {
    DragNearEdge(rect_.top, rect_.height, dy, kAreaPreviewHeight);
}
void TAreaSelection::DragRight(int dx) {
    DragFarEdge(rect_.left, rect_.width, dx, kAreaPreviewWidth);
}
void TAreaSelection::DragBottom(int dy) {
    DragFarEdge(rect_.top, rect_.height, dy, kAreaPreviewHeight);
}
void TAreaSelection::Move(int dx, int dy) {
    MoveSpan(rect_.left, rect_.width, dx, kAreaPreviewWidth);
    MoveSpan(rect_.top, rect_.height, dy, kAreaPreviewHeight);
}

void TAreaSelection::Auto(const TBitmap& preview) {
    const int width = std::min(preview.Width(), kAreaPreviewWidth);
    const int height = std::min(preview.Height(), kAreaPreviewHeight);
    int minX = width, maxX = -1, minY = height, maxY = -1;
    if (preview.BitsPerPixel() == 24) {
        for (int y = 0; y < height; ++y) {
            const uint8_t* p = preview.ScanLine(y);
            for (int x = 0; x < width; ++x, p += 3) {
                if ((p[0] & p[1] & p[2]) == 0xFF) continue;  // pure white is paper
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    if (maxX < 0) {
        SelectAll();
        return;
    }
    rect_.left = std::max(minX - 2, 0);
    rect_.top = std::max(minY - 2, 0);
    rect_.width = std::min(maxX + 3, kAreaPreviewWidth) - rect_.left;
    rect_.height = std::min(maxY + 3, kAreaPreviewHeight) - rect_.top;
}

}  // namespace quil
