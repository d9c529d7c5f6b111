#pragma once

#include "platform/bitmap.h"

namespace quil {

// The area preview: the page fitted into 400 x 280 pixels.
constexpr int kAreaPreviewWidth = 400;
constexpr int kAreaPreviewHeight = 280;
// Dragging an edge never makes the area narrower or lower than this.
constexpr int kMinAreaSide = 20;

// A rectangle on the area preview by its corner and size, in pixels.
struct TAreaRect {
    int left = 0;
    int top = 0;
    int width = kAreaPreviewWidth;
    int height = kAreaPreviewHeight;

    bool operator==(const TAreaRect&) const = default;
};

// The part of the area rectangle a press takes hold of.
enum TGrabZone : int {
    kGrabTopLeft = 0,
    kGrabBottomLeft = 1,
    kGrabLeft = 2,
    kGrabTopRight = 3,
    kGrabBottomRight = 4,
    kGrabRight = 5,
    kGrabTop = 6,
    kGrabBottom = 7,
    kGrabMove = 8,
};

// The mouse cursor over a grab zone.
enum class TGrabCursor { SizeAll, SizeNWSE, SizeNESW, SizeWE, SizeNS };

// The area rectangle of the dialog's first page: the user drags its edges,
// corners or the whole of it, or lets "Select All" and "Auto" choose it. It
// stays inside the preview. Mouse positions are relative to the rectangle's
// own top-left corner, as the rectangle receives them.
class TAreaSelection {
public:
    const TAreaRect& Rect() const { return rect_; }
    void SetRect(const TAreaRect& rect) { rect_ = rect; }

    // The zone at (x, y): the outer 5 pixels of each side hold an edge,
    // corners where two meet, everything else moves the rectangle.
    TGrabZone ZoneAt(int x, int y) const;
    static TGrabCursor CursorFor(TGrabZone zone);

    void MouseDown(int x, int y);
    void MouseMove(int x, int y);
    void MouseUp() { dragging_ = false; }
    bool Dragging() const { return dragging_; }
    TGrabZone Zone() const { return zone_; }

    // "Select All": the whole preview.
    void SelectAll() { rect_ = {}; }
    // "Auto": the box of every pixel that is not pure white, with a margin of
    // 2 pixels (3 after the last), inside the preview; the whole preview
    // when every pixel is white. Background and grid count as ink.
    void Auto(const TBitmap& preview);

private:
    void DragLeft(int dx);
    void DragTop(int dy);
    void DragRight(int dx);
    void DragBottom(int dy);
    void Move(int dx, int dy);

    TAreaRect rect_;
    bool dragging_ = false;
    TGrabZone zone_ = kGrabMove;
    int lastX_ = 0, lastY_ = 0;  // the last mouse position, in preview pixels
};

}  // namespace quil
