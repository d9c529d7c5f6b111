#include "render/resolve_rows.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quil {

namespace {

// sums[i] := the sum of byte i over the given rows, for i < bytes.
template <int Rows>
void SumColumns(const uint8_t* const* rows, int bytes, uint16_t* __restrict sums) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= bytes; i += 16) {
        __m128i lo = zero, hi = zero;
        for (int r = 0; r < Rows; ++r) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[r] + i));
            lo = _mm_add_epi16(lo, _mm_unpacklo_epi8(v, zero));
            hi = _mm_add_epi16(hi, _mm_unpackhi_epi8(v, zero));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + i), lo);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + i + 8), hi);
    }
#endif
    for (; i < bytes; ++i) {
        unsigned v = 0;
        for (int r = 0; r < Rows; ++r)
            v += rows[r][i];
        sums[i] = uint16_t(v);
    }
}

}  // namespace

void ResolveRow4(const uint8_t* r0, const uint8_t* r1, const uint8_t* r2, const uint8_t* r3,
                 uint8_t* __restrict out, int n, uint8_t flip, uint16_t* __restrict sums) {
    const uint8_t* rows[4] = {r0, r1, r2, r3};
    SumColumns<4>(rows, 12 * n, sums);
    const uint16_t* p = sums;
    for (int x = 0; x < n; ++x, p += 12, out += 3) {
        out[0] = uint8_t(((p[0] + p[3] + p[6] + p[9]) >> 4) ^ flip);
        out[1] = uint8_t(((p[1] + p[4] + p[7] + p[10]) >> 4) ^ flip);
        out[2] = uint8_t(((p[2] + p[5] + p[8] + p[11]) >> 4) ^ flip);
    }
}

void ResolveRow2(const uint8_t* r0, const uint8_t* r1, uint8_t* __restrict out, int n, uint8_t flip,
                 uint16_t* __restrict sums) {
    const uint8_t* rows[2] = {r0, r1};
    SumColumns<2>(rows, 6 * n, sums);
    const uint16_t* p = sums;
    for (int x = 0; x < n; ++x, p += 6, out += 3) {
        out[0] = uint8_t(((p[0] + p[3]) >> 2) ^ flip);
        out[1] = uint8_t(((p[1] + p[4]) >> 2) ^ flip);
        out[2] = uint8_t(((p[2] + p[5]) >> 2) ^ flip);
    }
}

}  // namespace quil
