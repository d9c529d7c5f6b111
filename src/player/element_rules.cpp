#include "player/element_rules.h"

#include <algorithm>
#include <cstdint>

#include "platform/canvas.h"
#include "platform/truncate.h"
#include "player/shrink_image.h"

namespace quil {

TStampRect MapStamp(const TStampDataWT& stamp, const TPageMapping& mapping) {
    return {(stamp.x - mapping.originX) * mapping.scaleX + mapping.offsetX,
            (stamp.y - mapping.originY) * mapping.scaleY + mapping.offsetY,
            stamp.width * mapping.scaleX, stamp.height * mapping.scaleY};
}

void DrawStrokeRule(TFuzzyLineGDI& renderer, const TStrokeDataWT& stroke,
                    const TPageMapping& mapping) {
    const TPenReplayPointWT* p = stroke.firstPoint;
    if (!p) return;
    renderer.SetColor(stroke.color);
    renderer.SetOpacity(int(stroke.opacity));
    const bool eraser = stroke.eraser != 0;
    PenSegment s{};
    PenPoint first = mapping.Map(*p);
    if (eraser)
        renderer.EraseDot(&first);
    else
        renderer.DrawDot(&first);
    s.x1 = first.x;
    s.y1 = first.y;
    s.r1 = first.radius;
    for (p = p->next; p; p = p->next) {
        const PenPoint q = mapping.Map(*p);
        s.x0 = s.x1;
        s.y0 = s.y1;
        s.r0 = s.r1;
        s.x1 = q.x;
        s.y1 = q.y;
        s.r1 = q.radius;
        if (eraser)
            renderer.EraseSegment(&s);
        else
            renderer.DrawSegment(&s);
    }
}

namespace {

// Fills `part` with the piece of the scaled stamp picture whose top-left
// corner is (left, top) of the full W x H scaled picture.
bool ScaleStampPart(const TBitmap& picture, int W, int H, int left, int top, TBitmap& part) {
    if (H < picture.Height()) {
        ShrinkImage24Part(picture, W, H, left, top, part);
        return true;
    }
    // Stretched from (0, 0, width - 1, height - 1) onto (0, 0, W - 1, H - 1):
    // the picture's last column and row are not used and the scaled
    // picture's last column and row stay white.
    TCanvas canvas(&part);
    canvas.CopyRect({-left, -top, W - 1 - left, H - 1 - top}, picture,
                    {0, 0, picture.Width() - 1, picture.Height() - 1});
    return true;
}

}  // namespace

void DrawStampRule(TFuzzyLineGDI& renderer, const TStampDataWT& stamp, const TStampRect& rect,
                   float fx, float fy, const TRect* clip) {
    const TBitmap& picture = stamp.picture;
    if (picture.Empty() || picture.BitsPerPixel() != 24 || !renderer.IsValid()) return;
    const int W = TruncToInt(rect.width * fx), H = TruncToInt(rect.height * fy);
    if (W <= 0 || H <= 0) return;
    const int64_t X0 = TruncToInt(rect.x * fx), Y0 = TruncToInt(rect.y * fy);
    // The work samples that may be written, inclusive.
    int64_t cx0 = 0, cy0 = 0, cx1 = renderer.GetWorkWidth() - 1, cy1 = renderer.GetWorkHeight() - 1;
    if (clip) {
        cx0 = std::max<int64_t>(cx0, clip->left);
        cy0 = std::max<int64_t>(cy0, clip->top);
        cx1 = std::min<int64_t>(cx1, clip->right);
        cy1 = std::min<int64_t>(cy1, clip->bottom);
    }
    // Columns k and rows j of the scaled picture that land there.
    const int64_t k0 = std::max<int64_t>(0, cx0 - X0), k1 = std::min<int64_t>(W - 1, cx1 - X0);
    const int64_t j0 = std::max<int64_t>(0, cy0 - Y0), j1 = std::min<int64_t>(H - 1, cy1 - Y0);
    if (k0 > k1 || j0 > j1) return;
    // Only the visible piece is scaled, so a stamp far larger than the
    // surface costs no more than the surface.
    TBitmap part;
    if (!part.Create(int(k1 - k0 + 1), int(j1 - j0 + 1))) return;
    if (!ScaleStampPart(picture, W, H, int(k0), int(j0), part)) return;
    const int columns = part.Width();
    for (int j = 0; j < part.Height(); ++j) {
        const uint8_t* s = part.ScanLine(j);
        uint8_t* d = renderer.WorkRow(int(Y0 + j0 + j)) + size_t(X0 + k0) * 3;
        for (int k = 0; k < columns; ++k, s += 3, d += 3)
            if ((s[0] & s[1] & s[2]) != 0xFF) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
    }
}

}  // namespace quil
