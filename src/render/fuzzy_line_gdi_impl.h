#pragma once

#include <cstdint>
#include <memory>

#include "platform/raster_spans.h"
#include "render/fuzzy_line_gdi.h"
#include "render/stroke_painter.h"

namespace quil {

// The shared code of the three renderers; F is the work factor, the number
// of work samples per display pixel along each axis.
template <int F>
class TFuzzyLineGDIImpl : public TFuzzyLineGDI {
    static_assert(F == 1 || F == 2 || F == 4, "the work factor is 1, 2 or 4");

public:
    ~TFuzzyLineGDIImpl() override = default;
    void SetViewport(int originX, int originY, int viewWidth, int viewHeight) override;
    void FillPolygon(const float* xs, const float* ys, int count) override;
    void DrawDot(const PenPoint* point) override;
    void DrawSegment(const PenSegment* segment) override;
    void EraseDot(const PenPoint* point) override;
    void EraseSegment(const PenSegment* segment) override;
    void DrawDotAtLevel(const PenPoint* point, int level) override;
    void DrawSegmentLevels(const PenSegment* segment, int startLevel, int endLevel) override;
    void DrawDots(const PenPoint* points, int level, int count) override;
    void DrawSegments(const PenSegment* segments, int startLevel, int endLevel, int count) override;
    void ResolveRect(int x0, int y0, int x1, int y1) override;
    void ResolveAll() override;
    void ExpandRect(int x0, int y0, int x1, int y1) override;
    void ExpandAll() override;
    void Clear() override;

protected:
    TFuzzyLineGDIImpl(IPresentTarget* window, int width, int height);

private:
    using TBox = TSampleBox;

    void ClearMask(const TBox& box);
    // How a shape changes the mask samples it covers (the batches).
    enum class TMaskOp {
        Add,        // := 255
        AddNew,     // 0 := 255 (a batch item's own new samples)
        RemoveNew,  // 255 := 0 (leaves the samples earlier batch items took)
    };
    void MaskSpan(int y, int x0, int x1, TMaskOp op);
    void MaskDisc(float x, float y, float r, TMaskOp op);
    void MaskTangentQuad(const PenSegment& s, TMaskOp op);
    void KeepNewSamples(const TBox& box);
    // The painter's limits: the surface, within the clip rectangle.
    void PreparePainter();
    void DotWith(const PenPoint& p, bool erase, bool marker);
    void SegmentWith(const PenSegment& s, bool erase, bool marker, bool strict);
    void ResolveRows(int x0, int y0, int x1, int y1);

    // Scratch kept for the life of the renderer, so drawing allocates nothing.
    TStrokePainter painter_{*this};
    TPolygonSpans polygon_;
    std::unique_ptr<uint16_t[]> columnSums_;  // one work row of summed samples
};

extern template class TFuzzyLineGDIImpl<1>;
extern template class TFuzzyLineGDIImpl<2>;
extern template class TFuzzyLineGDIImpl<4>;

}  // namespace quil
