#include "player/shrink_image.h"

#include <vector>

namespace quil {

namespace {

size_t PaddedRow(int width) { return (size_t(width) * 3 + 3) & ~size_t(3); }

// Source position sampled for destination position i of n over a source of
// m: computed in double, kept as a float, then truncated. Rounding to float
// can reach m itself for destinations over 2^24 wide; the last source
// position is used then instead of reading past the row.
int SampleAt(int m, int n, int i) {
    const int v = int(float(double(m) / n * i));
    return v < m ? v : m - 1;
}

}  // namespace

int ShrinkImage24(const uint8_t* src, int srcWidth, int srcHeight, uint8_t* dst, int dstWidth,
                  int dstHeight) {
    if (dstWidth == 0 || dstHeight == 0) return 1;
    std::vector<int> columns(static_cast<size_t>(dstWidth));
    for (int j = 0; j < dstWidth; ++j)
        columns[size_t(j)] = SampleAt(srcWidth, dstWidth, j);
    const size_t srcStride = PaddedRow(srcWidth), dstStride = PaddedRow(dstWidth);
    for (int i = 0; i < dstHeight; ++i) {
        const uint8_t* s = src + size_t(SampleAt(srcHeight, dstHeight, i)) * srcStride;
        uint8_t* d = dst + size_t(i) * dstStride;
        for (int j = 0; j < dstWidth; ++j, d += 3) {
            const uint8_t* p = s + size_t(columns[size_t(j)]) * 3;
            d[0] = p[0];
            d[1] = p[1];
            d[2] = p[2];
        }
    }
    return 0;
}

void ShrinkImage24Part(const TBitmap& src, int dstWidth, int dstHeight, int left, int top,
                       TBitmap& part) {
    const int w = part.Width(), h = part.Height();
    std::vector<int> columns(static_cast<size_t>(w));
    for (int k = 0; k < w; ++k)
        columns[size_t(k)] = SampleAt(src.Width(), dstWidth, left + k);
    for (int j = 0; j < h; ++j) {
        // Rows are counted from the bottom in the reduction.
        const int fromBottom = dstHeight - 1 - (top + j);
        const int srcFromBottom = SampleAt(src.Height(), dstHeight, fromBottom);
        const uint8_t* s = src.ScanLine(src.Height() - 1 - srcFromBottom);
        uint8_t* d = part.ScanLine(j);
        for (int k = 0; k < w; ++k, d += 3) {
            const uint8_t* p = s + size_t(columns[size_t(k)]) * 3;
            d[0] = p[0];
            d[1] = p[1];
            d[2] = p[2];
        }
    }
}

}  // namespace quil
