#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "render/fuzzy_line_gdi_16x.h"
#include "render/fuzzy_line_gdi_1x.h"
#include "render/fuzzy_line_gdi_4x.h"
#include "render/renderer_factory.h"

namespace quil::testing {

// A window that records what it was shown.
class TRecordingWindow : public IPresentTarget {
public:
    struct TCopy {
        int x, y, w, h;
    };
    std::vector<TCopy> copies;
    uint8_t readBackFill = 0x40;
    void Present(const TBitmap&, int x, int y, int w, int h) override {
        copies.push_back({x, y, w, h});
    }
    void ReadBack(TBitmap& into) override { into.Fill(readBackFill); }
};

// Opens the protected compositors and the mask of a renderer to the tests.
template <int F>
class TProbe : public TFuzzyLineGDIImpl<F> {
public:
    TProbe(int w, int h) : TFuzzyLineGDIImpl<F>(nullptr, w, h) {}
    using TFuzzyLineGDI::CompositeErase;
    using TFuzzyLineGDI::CompositeInk;
    using TFuzzyLineGDI::CompositeInkClearing;
    uint8_t* Mask(int y) { return this->mask_.ScanLine(y); }
};

inline const uint8_t* Sample(TFuzzyLineGDI& r, int x, int y) { return r.WorkRow(y) + 3 * x; }
inline const uint8_t* Pixel(TFuzzyLineGDI& r, int x, int y) {
    return r.DisplayDC().ScanLine(y) + 3 * x;
}

inline bool SameWork(TFuzzyLineGDI& a, TFuzzyLineGDI& b) {
    for (int y = 0; y < a.GetWorkHeight(); ++y)
        if (std::memcmp(a.WorkRow(y), b.WorkRow(y), size_t(3) * a.GetWorkWidth()) != 0)
            return false;
    return true;
}

inline bool SameDisplay(TFuzzyLineGDI& a, TFuzzyLineGDI& b) {
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.DisplayDC().ScanLine(y), b.DisplayDC().ScanLine(y),
                        size_t(3) * a.Width()) != 0)
            return false;
    return true;
}

// Samples of the work surface that are not paper white.
inline int InkedSamples(TFuzzyLineGDI& r) {
    int n = 0;
    for (int y = 0; y < r.GetWorkHeight(); ++y)
        for (int x = 0; x < r.GetWorkWidth(); ++x) {
            const uint8_t* s = Sample(r, x, y);
            n += (s[0] & s[1] & s[2]) != 255;
        }
    return n;
}

}  // namespace quil::testing
