#pragma once

#include <cstdint>

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/color.h"
#include "platform/geometry.h"
#include "platform/present_target.h"
#include "render/composite_spans.h"
#include "render/sample_geometry.h"

namespace quil {

// One sampled pen position in display pixels; radius is half the pen width.
struct PenPoint {
    float x, y, radius;
};

// The step from the previous pen point (x0, y0, r0) to the current one
// (x1, y1, r1), in display pixels.
struct PenSegment {
    float x0, y0, r0, x1, y1, r1;
};

// The pen-stroke renderer family: a retained picture of one page. Strokes are
// drawn as discs joined by tangent quadrilaterals into an 8-bit
// shape mask at work resolution (f x f samples per display pixel), composited
// as ink into the 24-bit work surface, and resolved into the display surface;
// the resolved area grows the dirty rectangle, which PresentDirty copies to
// the window.
//
// A new renderer's work surface holds white paper, and so does its display
// surface off screen (on a window it starts from what the window shows).
// A renderer whose surfaces could not be allocated is not valid
// (IsValid() false): every operation then does nothing.
class TFuzzyLineGDI {
public:
    TFuzzyLineGDI(const TFuzzyLineGDI&) = delete;
    TFuzzyLineGDI& operator=(const TFuzzyLineGDI&) = delete;

    // Virtual operations, in their fixed order.
    virtual ~TFuzzyLineGDI();
    virtual void SetViewport(int originX, int originY, int viewWidth, int viewHeight);
    virtual void FillPolygon(const float* xs, const float* ys, int count) = 0;
    virtual void DrawDot(const PenPoint* point) = 0;
    virtual void DrawSegment(const PenSegment* segment) = 0;
    virtual void EraseDot(const PenPoint* point) = 0;
    virtual void EraseSegment(const PenSegment* segment) = 0;
    virtual void DrawDotAtLevel(const PenPoint* point, int level) = 0;
    virtual void DrawSegmentLevels(const PenSegment* segment, int startLevel, int endLevel) = 0;
    virtual void DrawDots(const PenPoint* points, int level, int count) = 0;
    virtual void DrawSegments(const PenSegment* segments, int startLevel, int endLevel,
                              int count) = 0;
    // Display pixels, x1 and y1 exclusive; clamped to the display surface.
    virtual void ResolveRect(int x0, int y0, int x1, int y1) = 0;
    virtual void ResolveAll() = 0;
    virtual void ExpandRect(int x0, int y0, int x1, int y1) = 0;
    virtual void ExpandAll() = 0;
    virtual void Clear() = 0;

    // Work surface width for a display width: 4 W (Best), 2 W raised to a
    // multiple of 4 (Middle), W itself (Low).
    static int64_t WorkWidthFor(int factor, int width);
    // The bytes that the surfaces of a renderer of this work factor and
    // display size take together (display, work surface, shape mask and
    // background layer); UINT64_MAX for sizes no renderer can have. A
    // renderer whose surfaces do not fit in memory allocates none of them.
    static uint64_t SurfaceBytes(int factor, int width, int height);

    // Non-virtual operations.
    int GetWorkWidth() const { return geometry_.workWidth; }
    int GetWorkHeight() const { return geometry_.workHeight; }
    void SetInverted(bool inverted);
    void SetPenMarker(bool on) { penMarker_ = on; }
    // Draws the pen marker at the point's disc on the work surface: a
    // not-xor ring of pen width f. Drawn a second time at the same point it
    // gives every sample back exactly, which is how a marker is removed.
    // Nothing is resolved.
    void InvertPenMarker(const PenPoint* point);
    void SetColor(COLORREF c);
    void SetOpacity(int v);
    void AddDirtyRect(int left, int top, int right, int bottom);
    void PresentAll();
    void PresentDirty();
    // Stretches srcWidth x srcHeight of src (from 0, 0) over the whole
    // background layer, creating the layer on first use.
    void CaptureBackground(const TBitmap& src, int srcWidth, int srcHeight);
    void ReleaseBackground();
    // Display pixels, all four inclusive; limits the compositors only.
    void SetClipRect(int x0, int y0, int x1, int y1);
    void ClearClipRect() { clipOn_ = false; }

    // The display surface stands for its device context.
    TBitmap& DisplayDC() { return display_; }
    TCanvas& DisplayCanvas() { return displayCanvas_; }
    TBitmap& WorkDC() { return work_; }
    TCanvas& WorkCanvas() { return workCanvas_; }
    // First byte of work row i counted from the top.
    uint8_t* WorkRow(int i) { return work_.ScanLine(i); }

    // State, for the player and the tests.
    bool IsValid() const { return valid_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int WorkFactor() const { return geometry_.factor; }
    bool OffScreen() const { return window_ == nullptr; }
    bool Inverted() const { return inverted_; }
    bool PenMarker() const { return penMarker_; }
    int Opacity() const { return alpha_; }
    COLORREF Color() const { return inkColor_; }
    int DrawingLevel() const { return drawingLevel_; }
    bool DirtyEmpty() const { return dirtyEmpty_; }
    TRect DirtyRect() const { return dirty_; }  // right and bottom exclusive
    bool ClipOn() const { return clipOn_; }
    TRect ClipRect() const { return clip_; }  // work samples, all inclusive
    // The work samples drawing may touch: the surface, within the clip
    // rectangle when one is set.
    TSampleBox DrawingLimits() const;
    bool HasBackground() const { return !background_.Empty(); }
    const TBitmap& Background() const { return background_; }
    const TBitmap& ShapeMask() const { return mask_; }
    // Where shapes fall on the work surface, for the stroke painters.
    const TSampleGeometry& Geometry() const { return geometry_; }
    // Whether the drawing level lets the drawing operations draw.
    bool DrawsAtLevel() const { return drawingLevel_ >= kMinimumLevel; }

protected:
    // window nullptr: off-screen. The subclass then calls CreateWork.
    TFuzzyLineGDI(IPresentTarget* window, int width, int height, int factor);
    // Creates the work surface and the shape mask (workWidth a multiple of 4)
    // and binds the work canvas; false leaves the renderer invalid.
    bool CreateWork(int workWidth, int workHeight);

    // Box in work samples, all bounds inclusive, already inside the work
    // surface; limited here by the clip rectangle.
    void CompositeInk(int x0, int y0, int x1, int y1);
    void CompositeErase(int x0, int y0, int x1, int y1);
    void CompositeInkClearing(int x0, int y0, int x1, int y1);

    uint8_t* MaskRow(int i) { return mask_.ScanLine(i); }
    // Resolves what a drawing operation resolves after drawing the box of
    // work samples (TSampleGeometry::DisplayAround).
    void ResolveSamples(const TSampleBox& box);

    // Base state.
    IPresentTarget* window_ = nullptr;
    bool valid_ = false;
    bool penMarker_ = false;
    bool inverted_ = false;
    bool clipOn_ = false;
    TRect clip_;
    int width_ = 0;
    int height_ = 0;
    // Work factor, input transform and work size.
    TSampleGeometry geometry_;
    int drawingLevel_ = 1;
    static constexpr int kMinimumLevel = 0;
    bool dirtyEmpty_ = true;
    TRect dirty_;
    int alpha_ = 256;
    COLORREF inkColor_ = kBlack;
    static constexpr COLORREF kPaperColor = kWhite;
    static constexpr uint8_t kPaperByte = 0xFF;
    // The ink and the paper at alpha_, for the masked compositing.
    TInk ink_{kBlack, 256};
    TInk paper_{kPaperColor, 256};

    TBitmap display_;
    TBitmap work_;
    TBitmap mask_;  // 8-bit, stride == the work width
    TBitmap background_;
    TCanvas displayCanvas_;
    TCanvas workCanvas_;

private:
    // The box clipped, then one colour (ink or paper) copied or blended
    // into the masked samples.
    void CompositeColor(int x0, int y0, int x1, int y1, const TInk& ink, bool clearing);
    bool ClipToClipRect(int& x0, int& y0, int& x1, int& y1) const;
};

}  // namespace quil
