#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/color.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quil {

// The compositing of one run of n work samples (three bytes each, blue,
// green, red) starting at p: the one place that says how ink and the
// background layer go into the work surface. Integer arithmetic only, and
// the opaque case copies without multiplying. Runs are short (the new area
// of one pen step in one row), so the wide loops take sixteen bytes at a
// time and the rest goes byte by byte.

// The three bytes of one colour, or of one colour times an opacity, laid
// out for sixteen bytes at a time: a run of 16 bytes starting at byte i of
// a span begins with channel i % 3.
template <class T>
struct TChannelCycle {
    T byChannel[3];
    // The value of the channel of byte i of a span.
    T At(size_t i) const { return byChannel[i % 3]; }
};

// One colour, opaque: every sample takes it.
struct TFill {
    TChannelCycle<uint8_t> bytes;
#if defined(__SSE2__)
    __m128i chunk[3];  // sixteen bytes starting with channel 0, 1, 2
#endif

    TFill(uint8_t blue, uint8_t green, uint8_t red) : bytes{{blue, green, red}} {
#if defined(__SSE2__)
        for (int phase = 0; phase < 3; ++phase) {
            alignas(16) uint8_t v[16];
            for (int e = 0; e < 16; ++e)
                v[e] = bytes.At(size_t(phase + e));
            chunk[phase] = _mm_load_si128(reinterpret_cast<const __m128i*>(v));
        }
#endif
    }
};

inline void FillSpan(uint8_t* p, int n, const TFill& f) {
    const size_t bytes = size_t(3) * size_t(n);
#if defined(__SSE2__)
    if (bytes >= 16) {
        size_t i = 0;
        for (int phase = 0; i + 16 <= bytes; i += 16, phase = phase == 2 ? 0 : phase + 1)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), f.chunk[phase]);
        // The last sixteen bytes again, over what is written already.
        if (i < bytes)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + bytes - 16), f.chunk[(bytes - 16) % 3]);
        return;
    }
#endif
    for (; n > 0; --n, p += 3) {
        p[0] = f.bytes.byChannel[0];
        p[1] = f.bytes.byChannel[1];
        p[2] = f.bytes.byChannel[2];
    }
}

// One colour blended with opacity a (1 .. 255): each byte c becomes
// (c (256 - a) + k a) >> 8, without rounding; the sum stays below 2^16.
struct TBlend {
    unsigned complement;               // 256 - a
    TChannelCycle<uint16_t> weighted;  // each ink byte times a
#if defined(__SSE2__)
    __m128i low[3], high[3];  // k a of bytes 0-7 and 8-15 of a run of phase 0, 1, 2
#endif

    TBlend(uint8_t blue, uint8_t green, uint8_t red, unsigned a)
        : complement(256 - a),
          weighted{{uint16_t(blue * a), uint16_t(green * a), uint16_t(red * a)}} {
#if defined(__SSE2__)
        for (int phase = 0; phase < 3; ++phase) {
            alignas(16) uint16_t v[16];
            for (int e = 0; e < 16; ++e)
                v[e] = weighted.At(size_t(phase + e));
            low[phase] = _mm_load_si128(reinterpret_cast<const __m128i*>(v));
            high[phase] = _mm_load_si128(reinterpret_cast<const __m128i*>(v + 8));
        }
#endif
    }
};

#if defined(__SSE2__)
// Sixteen bytes of phase `phase` blended.
inline __m128i BlendChunk(__m128i v, const TBlend& k, int phase) {
    const __m128i zero = _mm_setzero_si128(), ca = _mm_set1_epi16(short(k.complement));
    const __m128i lo = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(v, zero), ca), k.low[phase]), 8);
    const __m128i hi = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(v, zero), ca), k.high[phase]), 8);
    return _mm_packus_epi16(lo, hi);
}
#endif

inline void BlendSpan(uint8_t* p, int n, const TBlend& k) {
    const size_t bytes = size_t(3) * size_t(n);
#if defined(__SSE2__)
    if (bytes >= 16) {
        // The last sixteen bytes are read before anything is written, so
        // that where they overlap the chunks before them both write the
        // same values, each from the bytes as they were.
        const size_t lastAt = bytes - 16;
        const __m128i last = BlendChunk(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + lastAt)), k, int(lastAt % 3));
        size_t i = 0;
        for (int phase = 0; i + 16 <= bytes; i += 16, phase = phase == 2 ? 0 : phase + 1) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), BlendChunk(v, k, phase));
        }
        if (i < bytes) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + lastAt), last);
        return;
    }
#endif
    const unsigned ca = k.complement, kb = k.weighted.byChannel[0], kg = k.weighted.byChannel[1],
                   kr = k.weighted.byChannel[2];
    for (; n > 0; --n, p += 3) {
        p[0] = uint8_t((p[0] * ca + kb) >> 8);
        p[1] = uint8_t((p[1] * ca + kg) >> 8);
        p[2] = uint8_t((p[2] * ca + kr) >> 8);
    }
}

// An opacity as drawing takes it: 0 .. 256. Negative values never come from
// a recording; they draw nothing.
inline int ClampedOpacity(int v) { return v < 0 ? 0 : (v < 256 ? v : 256); }

// One colour at one opacity (0 .. 256), made ready once for every run it
// goes into: opaque ink is copied, anything less is blended.
struct TInk {
    unsigned alpha;
    TFill fill;
    TBlend blend;

    TInk(COLORREF color, int opacity)
        : alpha(unsigned(opacity)),
          fill(BlueOf(color), GreenOf(color), RedOf(color)),
          blend(BlueOf(color), GreenOf(color), RedOf(color), unsigned(opacity)) {}

    void Span(uint8_t* p, int n) const {
        if (alpha >= 256)
            FillSpan(p, n, fill);
        else
            BlendSpan(p, n, blend);
    }
};

// The layer's samples s blended with opacity a (1 .. 256); at 256 the
// formula copies them: (c 0 + s 256) >> 8 = s.
inline void RestoreSpan(uint8_t* p, const uint8_t* s, int n, unsigned a) {
    const unsigned ca = 256 - a;
    for (size_t i = 0, bytes = size_t(3) * size_t(n); i < bytes; ++i)
        p[i] = uint8_t((p[i] * ca + s[i] * a) >> 8);
}

}  // namespace quil
