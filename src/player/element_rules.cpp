#include "player/element_rules.h"

#include <algorithm>
#include <cstdint>

#include "platform/canvas.h"
#include "platform/truncate.h"
#include "player/shrink_image.h"

namespace quil {

namespace {

// Fills `part` with the piece of the scaled stamp picture whose top-left
// corner is (left, top) of the full width x height scaled picture.
void ScaleStampPart(const TBitmap& picture, int width, int height, int left, int top,
                    TStampStretch stretch, TBitmap& part) {
    if (height < picture.Height()) {
        ShrinkImage24Part(picture, width, height, left, top, part);
        return;
    }
    TCanvas canvas(&part);
    if (stretch == TStampStretch::Whole) {
        canvas.CopyRect({-left, -top, width - left, height - top}, picture,
                        {0, 0, picture.Width(), picture.Height()});
        return;
    }
    // Stretched from (0, 0, w - 1, h - 1) onto (0, 0, width - 1, height - 1):
    // the picture's last column and row are not used and the scaled
    // picture's last column and row stay white.
    canvas.CopyRect({-left, -top, width - 1 - left, height - 1 - top}, picture,
                    {0, 0, picture.Width() - 1, picture.Height() - 1});
}

}  // namespace

void DrawStampRule(TFuzzyLineGDI& renderer, const TStampDataWT& stamp, const TStampRect& rect,
                   float fx, float fy, const TRect* clip, TStampStretch stretch) {
    const TBitmap& picture = stamp.picture;
    if (picture.Empty() || picture.BitsPerPixel() != 24 || !renderer.IsValid()) return;
    // The scaled picture in work samples.
    const int width = TruncToInt(rect.width * fx), height = TruncToInt(rect.height * fy);
    if (width <= 0 || height <= 0) return;
    const int64_t left = TruncToInt(rect.x * fx), top = TruncToInt(rect.y * fy);
    // The work samples that may be written, inclusive.
    int64_t cx0 = 0, cy0 = 0, cx1 = renderer.GetWorkWidth() - 1, cy1 = renderer.GetWorkHeight() - 1;
    if (clip) {
        cx0 = std::max<int64_t>(cx0, clip->left);
        cy0 = std::max<int64_t>(cy0, clip->top);
        cx1 = std::min<int64_t>(cx1, clip->right);
        cy1 = std::min<int64_t>(cy1, clip->bottom);
    }
    // Columns k and rows j of the scaled picture that land there.
    const int64_t k0 = std::max<int64_t>(0, cx0 - left),
                  k1 = std::min<int64_t>(width - 1, cx1 - left);
    const int64_t j0 = std::max<int64_t>(0, cy0 - top),
                  j1 = std::min<int64_t>(height - 1, cy1 - top);
    if (k0 > k1 || j0 > j1) return;
    // Only the visible piece is scaled, so a stamp far larger than the
    // surface costs no more than the surface.
    TBitmap part;
    if (!part.Create(int(k1 - k0 + 1), int(j1 - j0 + 1))) return;
    ScaleStampPart(picture, width, height, int(k0), int(j0), stretch, part);
    const int columns = part.Width();
    for (int j = 0; j < part.Height(); ++j) {
        const uint8_t* s = part.ScanLine(j);
        uint8_t* d = renderer.WorkRow(int(top + j0 + j)) + size_t(left + k0) * 3;
        for (int k = 0; k < columns; ++k, s += 3, d += 3)
            if ((s[0] & s[1] & s[2]) != 0xFF) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
    }
}

}  // namespace quil
