// The renderers' stroke painters against the rasteriser they replaced (the
// slow reference: shape mask, general polygon filler, sample-by-sample
// compositing), sample for sample, segment after segment, on the strokes
// of large generated pages at every quality: handwriting at page size, the
// same shrunk to a thumbnail and enlarged past the surface, and wild
// segments (zero radii, points that nearly coincide, one disc inside the
// other, shapes across the edges), inked, blended and erased, with and
// without a clip rectangle and a background layer.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/sanitizer.h"
#include "reference_rasteriser.h"
#include "render_test_support.h"

namespace quil {
namespace {

// Fewer random cases under AddressSanitizer, which runs them several times slower.
constexpr int kSlowdown = kAddressSanitizer ? 6 : 1;

constexpr int kWidth = 240, kHeight = 160;

struct TStroke {
    COLORREF color = 0;
    int opacity = 256;
    bool eraser = false;
    std::vector<PenPoint> points;
};

// Lines of cursive loops over the surface, in display pixels, scaled by
// `scale` about the top-left corner; about `points` points in all.
std::vector<TStroke> Handwriting(int points, float scale, float width, unsigned start) {
    std::mt19937 rng(start);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<TStroke> strokes;
    float x = 6, y = 14;
    for (int made = 0; made < points;) {
        TStroke s;
        s.color = MakeColor(uint8_t(rng()), uint8_t(rng()), uint8_t(rng()));
        const int kind = int(rng() % 10);
        s.opacity = kind < 4 ? 256 : kind < 8 ? 255 : 96;
        s.eraser = kind == 9;
        const int loops = 2 + int(rng() % 4), samples = 10 * loops;
        const float length = 9.0f * loops, height = 12, w = width * (0.6f + unit(rng));
        for (int i = 0; i <= samples; ++i) {
            const float t = float(i) / samples, a = t * loops * 6.2831853f;
            s.points.push_back({scale * (x + t * length - 0.35f * height * std::sin(a)),
                                scale * (y - height * 0.5f * (1 + std::cos(a))),
                                i == samples ? 0.0f : scale * w * (0.7f + 0.4f * std::cos(a))});
        }
        made += samples + 1;
        strokes.push_back(std::move(s));
        x += length + 5;
        if (x > kWidth - 20) x = 4 + unit(rng) * 6, y += 17;
        if (y > kHeight - 2) y = 12 + unit(rng) * 8;
    }
    return strokes;
}

// Segments of every awkward kind, scattered over and past the surface.
std::vector<TStroke> WildStrokes(int points, unsigned start) {
    std::mt19937 rng(start);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<TStroke> strokes;
    for (int made = 0; made < points;) {
        TStroke s;
        s.color = MakeColor(uint8_t(rng()), uint8_t(rng()), uint8_t(rng()));
        s.opacity = rng() % 2 ? 256 : 1 + int(rng() % 255);
        s.eraser = rng() % 7 == 0;
        PenPoint p{-20 + unit(rng) * (kWidth + 40), -20 + unit(rng) * (kHeight + 40),
                   unit(rng) * 6};
        s.points.push_back(p);
        const int n = 2 + int(rng() % 12);
        for (int i = 0; i < n; ++i) {
            PenPoint q = p;
            switch (rng() % 7) {
            case 0: q.x += 0.03f * unit(rng), q.y += 0.03f * unit(rng); break;  // d2 < 0.005
            case 1: q.x += 0.4f * unit(rng); break;                             // d <= 0.5
            case 2: q.radius = p.radius + (unit(rng) - 0.5f) * 0.5f; break;     // |dr| ~ d
            case 3: q.radius = 0; break;                                        // a pen lift
            case 4: q.x += 60 * (unit(rng) - 0.5f), q.y += 60 * (unit(rng) - 0.5f); break;
            case 5: q.radius = 25 * unit(rng); break;  // one disc around the other
            default:
                q.x += 4 * (unit(rng) - 0.5f), q.y += 4 * (unit(rng) - 0.5f);
                q.radius = 0.3f + 3 * unit(rng);
            }
            s.points.push_back(q);
            p = q;
        }
        made += int(s.points.size());
        strokes.push_back(std::move(s));
    }
    return strokes;
}

// The first sample of the box where the two work surfaces differ, as text;
// empty when they agree.
std::string FirstDifference(const TBitmap& ours, const TBitmap& reference, const TSampleBox& b) {
    for (int y = b.top; y <= b.bottom; ++y) {
        const uint8_t* p = ours.ScanLine(y) + 3 * b.left;
        const uint8_t* q = reference.ScanLine(y) + 3 * b.left;
        const size_t n = size_t(3) * size_t(b.right - b.left + 1);
        if (std::memcmp(p, q, n) == 0) continue;
        for (size_t i = 0; i < n; ++i)
            if (p[i] != q[i])
                return "sample (" + std::to_string(b.left + int(i / 3)) + ", " + std::to_string(y) +
                       "): " + std::to_string(p[i]) + " against " + std::to_string(q[i]);
    }
    return {};
}

struct TVariant {
    bool clip = false;
    bool layer = false;
};

// Draws the strokes through a renderer of quality q and through the
// reference, comparing the box of every shape once it is drawn.
void ExpectSameSamples(int q, const std::vector<TStroke>& strokes, TVariant variant,
                       const std::string& what) {
    auto r = MakeRenderer(q, nullptr, kWidth, kHeight);
    ASSERT_TRUE(r->IsValid());
    r->Clear();
    TBitmap layer;
    if (variant.layer) {
        // A layer of stripes, so that erasing shows where it reads from.
        ASSERT_TRUE(layer.Create(kWidth, kHeight));
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < 3 * kWidth; ++x)
                layer.ScanLine(y)[x] = uint8_t(x * 7 + y * 13);
        r->CaptureBackground(layer, kWidth, kHeight);
    }
    if (variant.clip) r->SetClipRect(31, 17, 170, 120);
    TBitmap reference = r->WorkDC().Clone();
    testing::TReferenceRasteriser ref(r->Geometry(), reference,
                                      variant.layer ? &r->Background() : nullptr);
    if (variant.clip) {
        const TRect c = r->ClipRect();
        ref.SetClip({c.left, c.top, c.right, c.bottom});
    }
    int shapes = 0;
    for (const TStroke& s : strokes) {
        r->SetColor(s.color);
        r->SetOpacity(s.opacity);
        ref.SetInk(s.color, s.opacity);
        for (size_t i = 0; i < s.points.size(); ++i) {
            TSampleBox box;
            bool drawn;
            if (i == 0) {
                s.eraser ? r->EraseDot(&s.points[0]) : r->DrawDot(&s.points[0]);
                drawn = ref.Dot(s.points[0], s.eraser, box);
            } else {
                const PenPoint& a = s.points[i - 1];
                const PenPoint& b = s.points[i];
                const PenSegment seg{a.x, a.y, a.radius, b.x, b.y, b.radius};
                s.eraser ? r->EraseSegment(&seg) : r->DrawSegment(&seg);
                drawn = ref.Segment(seg, s.eraser, box);
            }
            ++shapes;
            if (!drawn) continue;
            const std::string difference = FirstDifference(r->WorkDC(), reference, box);
            ASSERT_TRUE(difference.empty())
                << what << ", quality " << q << ", shape " << shapes << ": " << difference;
        }
    }
    ASSERT_TRUE(FirstDifference(r->WorkDC(), reference,
                                {0, 0, r->GetWorkWidth() - 1, r->GetWorkHeight() - 1})
                    .empty());
}

TEST(RasteriserReference, HandwritingAtPageSize) {
    const auto page = Handwriting(60000 / kSlowdown, 1.0f, 1.6f, 1);
    for (int q = 0; q < 3; ++q)
        ExpectSameSamples(q, page, {}, "handwriting");
}

TEST(RasteriserReference, HandwritingShrunkAndEnlarged) {
    const auto thumbnail = Handwriting(30000 / kSlowdown, 0.15f, 1.6f, 2);
    const auto enlarged = Handwriting(20000 / kSlowdown, 3.5f, 2.5f, 3);
    for (int q = 0; q < 3; ++q) {
        ExpectSameSamples(q, thumbnail, {}, "thumbnail");
        ExpectSameSamples(q, enlarged, {}, "enlarged");
    }
}

TEST(RasteriserReference, WildSegmentsClippedAndOverALayer) {
    const auto wild = WildStrokes(30000 / kSlowdown, 4);
    const auto page = Handwriting(20000 / kSlowdown, 1.0f, 1.6f, 5);
    for (int q = 0; q < 3; ++q) {
        ExpectSameSamples(q, wild, {}, "wild");
        ExpectSameSamples(q, wild, {.clip = true, .layer = true}, "wild, clipped, layer");
        ExpectSameSamples(q, page, {.clip = true, .layer = true}, "handwriting, clipped, layer");
    }
}

}  // namespace
}  // namespace quil
