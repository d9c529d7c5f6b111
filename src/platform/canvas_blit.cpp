#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/canvas.h"
#include "platform/canvas_pixels.h"

namespace quil {

namespace {

struct TPixel {
    uint64_t b, g, r;  // wide enough for the sum of a whole picture
};

TPixel ReadPixel(const uint8_t* row, int x, int bpp) {
    if (bpp == 8) return {row[x], row[x], row[x]};
    const uint8_t* p = row + 3 * x;
    return {p[0], p[1], p[2]};
}

void WritePixel(uint8_t* row, int x, int bpp, const TPixel& v) {
    if (bpp == 8) {
        row[x] = GreyOf(MakeColor(uint8_t(v.r), uint8_t(v.g), uint8_t(v.b)));
        return;
    }
    uint8_t* p = row + 3 * x;
    p[0] = uint8_t(v.b);
    p[1] = uint8_t(v.g);
    p[2] = uint8_t(v.r);
}

// One destination column (or row) and the source columns merged into it.
struct TSpanMap {
    int dst;
    int src0, src1;  // inclusive, inside the source picture
};

// Maps destination positions d0 .. d0 + dn - 1 onto source positions
// s0 .. s0 + sn - 1 (mirrored when asked), keeping only destinations inside
// [0, dLimit) whose sources meet [0, sLimit).
std::vector<TSpanMap> MapAxis(int d0, int dn, int dLimit, int s0, int sn, int sLimit, bool mirror) {
    std::vector<TSpanMap> out;
    const int64_t first = std::max(d0, 0), last = std::min<int64_t>(int64_t(d0) + dn, dLimit);
    if (first >= last) return out;
    out.reserve(size_t(last - first));
    for (int64_t d = first; d < last; ++d) {
        int64_t i = d - d0;
        if (mirror) i = dn - 1 - i;
        int64_t j0 = i * sn / dn;
        int64_t j1 = (i + 1) * sn / dn - 1;
        if (j1 < j0) j1 = j0;
        int64_t a = s0 + j0, b = s0 + j1;
        if (a < 0) a = 0;
        if (b > sLimit - 1) b = sLimit - 1;
        if (a > b) continue;
        out.push_back({int(d), int(a), int(b)});
    }
    return out;
}

// Where every destination pixel takes one source pixel (an enlargement, or
// a copy at the same size) between 24-bit pictures: each pixel is copied
// as it is, and a destination row that takes the same source row as the
// row before is a copy of that row. False, writing nothing, where pixels
// merge and the general road must combine them. The pictures are two.
bool StretchOneToMany(TBitmap& target, const TBitmap& src, const std::vector<TSpanMap>& rows,
                      const std::vector<TSpanMap>& cols) {
    for (const TSpanMap& col : cols)
        if (col.src0 != col.src1) return false;
    for (const TSpanMap& row : rows)
        if (row.src0 != row.src1) return false;
    const int left = cols.front().dst, right = cols.back().dst;
    const bool contiguous = right - left + 1 == int(cols.size());
    const size_t bytes = size_t(3) * size_t(right - left + 1);
    const TSpanMap* previous = nullptr;
    for (const TSpanMap& row : rows) {
        uint8_t* d = target.ScanLine(row.dst);
        if (contiguous && previous && previous->src0 == row.src0) {
            std::memcpy(d + 3 * size_t(left), target.ScanLine(previous->dst) + 3 * size_t(left),
                        bytes);
        } else {
            const uint8_t* s = src.ScanLine(row.src0);
            for (const TSpanMap& col : cols) {
                const uint8_t* p = s + 3 * size_t(col.src0);
                uint8_t* q = d + 3 * size_t(col.dst);
                q[0] = p[0];
                q[1] = p[1];
                q[2] = p[2];
            }
        }
        previous = &row;
    }
    return true;
}

}  // namespace

void TCanvas::BitBlt(int dx, int dy, int w, int h, const TBitmap& src, int sx, int sy) {
    if (!target_ || target_->Empty() || src.Empty() || w <= 0 || h <= 0) return;
    // Clip against the source, then the destination, moving both corners.
    if (sx < 0) {
        dx -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        dy -= sy;
        h += sy;
        sy = 0;
    }
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        sy -= dy;
        h += dy;
        dy = 0;
    }
    w = std::min({w, src.Width() - sx, target_->Width() - dx});
    h = std::min({h, src.Height() - sy, target_->Height() - dy});
    if (w <= 0 || h <= 0) return;
    const int sbpp = src.BitsPerPixel(), dbpp = target_->BitsPerPixel();
    // A copy within one picture moving down must walk the rows upwards.
    const bool upwards = &src == target_ && dy > sy;
    for (int k = 0; k < h; ++k) {
        const int r = upwards ? h - 1 - k : k;
        const uint8_t* s = src.ScanLine(sy + r);
        uint8_t* d = target_->ScanLine(dy + r);
        if (sbpp == dbpp) {
            std::memmove(d + dx * (dbpp / 8), s + sx * (sbpp / 8), size_t(w) * (dbpp / 8));
        } else {
            for (int x = 0; x < w; ++x)
                WritePixel(d, dx + x, dbpp, ReadPixel(s, sx + x, sbpp));
        }
    }
}

void TCanvas::StretchBlt(int dx, int dy, int dw, int dh, const TBitmap& src, int sx, int sy, int sw,
                         int sh) {
    if (!target_ || target_->Empty() || src.Empty() || dw == 0 || dh == 0 || sw == 0 || sh == 0)
        return;
    // A negative extent runs from the given edge to the left (or upwards).
    const bool mirrorX = (dw < 0) != (sw < 0), mirrorY = (dh < 0) != (sh < 0);
    if (dw < 0) {
        dx += dw;
        dw = -dw;
    }
    if (dh < 0) {
        dy += dh;
        dh = -dh;
    }
    if (sw < 0) {
        sx += sw;
        sw = -sw;
    }
    if (sh < 0) {
        sy += sh;
        sh = -sh;
    }
    const std::vector<TSpanMap> cols =
        MapAxis(dx, dw, target_->Width(), sx, sw, src.Width(), mirrorX);
    const std::vector<TSpanMap> rows =
        MapAxis(dy, dh, target_->Height(), sy, sh, src.Height(), mirrorY);
    if (cols.empty() || rows.empty()) return;
    const int sbpp = src.BitsPerPixel(), dbpp = target_->BitsPerPixel();
    const bool average = stretchMode_ == TStretchMode::Halftone;
    if (!average && sbpp == 24 && dbpp == 24 && &src != target_ &&
        StretchOneToMany(*target_, src, rows, cols))
        return;
    for (const TSpanMap& row : rows) {
        uint8_t* d = target_->ScanLine(row.dst);
        for (const TSpanMap& col : cols) {
            TPixel v = average ? TPixel{0, 0, 0} : TPixel{255, 255, 255};
            for (int y = row.src0; y <= row.src1; ++y) {
                const uint8_t* s = src.ScanLine(y);
                for (int x = col.src0; x <= col.src1; ++x) {
                    const TPixel p = ReadPixel(s, x, sbpp);
                    if (average) {
                        v.b += p.b;
                        v.g += p.g;
                        v.r += p.r;
                    } else {
                        v.b &= p.b;
                        v.g &= p.g;
                        v.r &= p.r;
                    }
                }
            }
            if (average) {
                const uint64_t n =
                    uint64_t(row.src1 - row.src0 + 1) * uint64_t(col.src1 - col.src0 + 1);
                v = {v.b / n, v.g / n, v.r / n};
            }
            WritePixel(d, col.dst, dbpp, v);
        }
    }
}

}  // namespace quil
