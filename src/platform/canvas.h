#pragma once

#include "platform/bitmap.h"
#include "platform/color.h"
#include "platform/geometry.h"

namespace quil {

// How the pen combines with what is under it.
enum class TPenMode {
    Copy,    // the pen colour replaces the sample
    NotXor,  // the sample becomes ~(pen colour ^ sample)
};

enum class TBrushStyle {
    Solid,  // interiors are filled with the brush colour
    Clear,  // hollow: interiors are left alone
};

// How StretchBlt combines source pixels that map onto one destination pixel.
enum class TStretchMode {
    BlackOnWhite,  // the default: enlarging repeats pixels, reducing ANDs the merged pixels
    Halftone,      // reducing averages the merged pixels (printing)
};

// 2-D drawing onto a TBitmap (24-bit, or 8-bit grey), with the rules of the
// classic desktop graphics interface our pictures come from:
// - Ellipse(l, t, r, b) fills the ellipse inscribed in the rectangle with the
//   right and bottom edges excluded; the outline (pen) is included.
// - Polygon fills with the alternate (even-odd) rule, outline included.
// - LineTo draws from the current position to the end point, which is
//   excluded, with the pen's width.
// - Rectangle outlines with the pen and fills with the brush, right and
//   bottom excluded; FillRect fills with the brush only.
// Every shape touches each pixel at most once per call, so a NotXor pen drawn
// twice gives the picture back exactly. Nothing is drawn outside the target.
//
// On an 8-bit grey target a colour writes its grey value (white 255, black 0).
// The canvas does not own its target; it must not outlive it.
class TCanvas {
public:
    explicit TCanvas(TBitmap* target = nullptr) : target_(target) {}

    void Attach(TBitmap* target) { target_ = target; }
    TBitmap* Target() const { return target_; }

    void SetPenColor(COLORREF c) { penColor_ = c; }
    void SetPenWidth(int width) { penWidth_ = width < 1 ? 1 : width; }
    void SetPenMode(TPenMode mode) { penMode_ = mode; }
    void SetBrushColor(COLORREF c) { brushColor_ = c; }
    void SetBrushStyle(TBrushStyle style) { brushStyle_ = style; }
    void SetStretchMode(TStretchMode mode) { stretchMode_ = mode; }
    COLORREF PenColor() const { return penColor_; }
    int PenWidth() const { return penWidth_; }
    TPenMode PenMode() const { return penMode_; }
    COLORREF BrushColor() const { return brushColor_; }
    TBrushStyle BrushStyle() const { return brushStyle_; }
    TStretchMode StretchMode() const { return stretchMode_; }

    void MoveTo(int x, int y) {
        penX_ = x;
        penY_ = y;
    }
    void LineTo(int x, int y);
    void Ellipse(int left, int top, int right, int bottom);
    void Polygon(const TPoint* points, int count);
    void Rectangle(int left, int top, int right, int bottom);
    void FillRect(const TRect& rect);

    // Copies w x h pixels of src from (sx, sy) to (dx, dy), clipped to both
    // pictures. Both must have the same pixel format.
    void BitBlt(int dx, int dy, int w, int h, const TBitmap& src, int sx, int sy);
    // The whole of src at (x, y).
    void Draw(int x, int y, const TBitmap& src) {
        BitBlt(x, y, src.Width(), src.Height(), src, 0, 0);
    }
    // Maps the source rectangle (sx, sy, sw, sh) onto the destination
    // rectangle (dx, dy, dw, dh) in the canvas's stretch mode, by nearest
    // sample; negative extents mirror. Parts outside either picture are not
    // read or written.
    void StretchBlt(int dx, int dy, int dw, int dh, const TBitmap& src, int sx, int sy, int sw,
                    int sh);
    // StretchBlt with both rectangles given by their edges (right and bottom
    // exclusive).
    void CopyRect(const TRect& dst, const TBitmap& src, const TRect& srcRect) {
        StretchBlt(dst.left, dst.top, dst.right - dst.left, dst.bottom - dst.top, src, srcRect.left,
                   srcRect.top, srcRect.right - srcRect.left, srcRect.bottom - srcRect.top);
    }

private:
    TBitmap* target_ = nullptr;
    COLORREF penColor_ = kBlack;
    int penWidth_ = 1;
    TPenMode penMode_ = TPenMode::Copy;
    COLORREF brushColor_ = kWhite;
    TBrushStyle brushStyle_ = TBrushStyle::Solid;
    TStretchMode stretchMode_ = TStretchMode::BlackOnWhite;
    int penX_ = 0;
    int penY_ = 0;
};

}  // namespace quil
