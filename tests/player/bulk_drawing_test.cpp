// Drawing many elements at once (the road of jumps, of Show, of the
// off-screen page and of printing) against drawing them one by one through
// the renderer's own operations, each resolving what it drew (the road of
// the replay): the same work surface and the same display, byte for byte,
// at every quality, in one band or several, drawn in one piece or in pieces
// between progress events, with or without a clip rectangle and a
// background layer, for the test pages and three large generated ones.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "model/load_recording.h"
#include "platform/sanitizer.h"
#include "platform/truncate.h"
#include "player/element_drawing.h"
#include "player/element_rules.h"
#include "player_fixture.h"
#include "render/renderer_factory.h"

namespace quil::test {
namespace {

// Fewer random cases under AddressSanitizer, which runs them several times slower.
constexpr int kSlowdown = kAddressSanitizer ? 8 : 1;

using fixture::Point;
using fixture::TRecordingWriter;

// The display of most comparisons; one page is drawn at its own size too.
constexpr int kWidth = 200, kHeight = 150;

// The element-by-element road: the stroke rule on the renderer itself, and
// stamps resolved as the replay resolves them.
void DrawOneByOne(TFuzzyLineGDI& r, const TPenReplayWT& document, const TPageMapping& m,
                  float factor) {
    for (const TInkelDataWT* e = document.firstElement; e; e = e->next) {
        if (e->kind == kStrokeKind) {
            DrawStrokeRule(r, static_cast<const TStrokeDataWT&>(*e), m);
        } else if (e->kind == kStampKind) {
            const auto& stamp = static_cast<const TStampDataWT&>(*e);
            const TStampRect s = MapStamp(stamp, m);
            const TRect clip = r.ClipRect();
            DrawStampRule(r, stamp, s, factor, factor, r.ClipOn() ? &clip : nullptr);
            r.ResolveRect(TruncToInt(s.x), TruncToInt(s.y), TruncToInt(s.x + s.width + 1),
                          TruncToInt(s.y + s.height + 1));
        }
    }
}

struct TSetting {
    int quality;
    bool clip, layer;
    int width = kWidth, height = kHeight;
};

// A renderer as a drawing finds it: paper, or a patterned background layer
// restored everywhere; a clip rectangle as a backward jump sets it.
std::unique_ptr<TFuzzyLineGDI> Prepared(const TSetting& s) {
    auto r = MakeRenderer(s.quality, nullptr, s.width, s.height);
    r->Clear();
    if (s.layer) {
        TBitmap picture;
        picture.Create(s.width, s.height);
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < 3 * s.width; ++x)
                picture.ScanLine(y)[x] = uint8_t(200 + (x * 3 + y * 5) % 56);
        r->CaptureBackground(picture, s.width, s.height);
        r->Clear();
    }
    if (s.clip) r->SetClipRect(23, 11, 151, 120);
    return r;
}

void ExpectSameBytes(TFuzzyLineGDI& a, TFuzzyLineGDI& b, const std::string& what) {
    int work = 0, display = 0;
    for (int y = 0; y < a.GetWorkHeight(); ++y)
        work += std::memcmp(a.WorkRow(y), b.WorkRow(y), size_t(3) * a.GetWorkWidth()) != 0;
    for (int y = 0; y < a.Height(); ++y)
        display += std::memcmp(a.DisplayDC().ScanLine(y), b.DisplayDC().ScanLine(y),
                               size_t(3) * a.Width()) != 0;
    EXPECT_EQ(work, 0) << what << ": work rows differ";
    EXPECT_EQ(display, 0) << what << ": display rows differ";
}

// The document drawn both ways in the settings; `mapping` puts its page on
// their display.
void ExpectBothRoadsAgree(const TPenReplayWT& document, const TPageMapping& mapping,
                          const std::string& what, const std::vector<TSetting>& settings) {
    for (const TSetting& setting : settings) {
        const int quality = setting.quality;
        auto oneByOne = Prepared(setting);
        DrawOneByOne(*oneByOne, document, mapping, float(oneByOne->WorkFactor()));
        for (int bands : {1, 2, 3}) {
            for (bool pieces : {false, true}) {
                auto atOnce = Prepared(setting);
                TElementRun run;
                run.first = document.firstElement;
                run.mapping = mapping;
                run.stampFactorX = run.stampFactorY = float(atOnce->WorkFactor());
                run.bands = bands;
                int events = 0;
                // Listened to, the drawing goes in pieces of 16 elements.
                TDrawingProgress progress(
                    pieces ? THostEvents([&](int, int) { ++events; }) : THostEvents(),
                    document.ElementCount());
                DrawElementsAtOnce(*atOnce, run, progress, true);
                progress.Finish();
                ExpectSameBytes(*oneByOne, *atOnce,
                                what + ", quality " + std::to_string(quality) +
                                    (setting.clip ? ", clipped over a layer" : "") + ", " +
                                    std::to_string(setting.width) + " pixels wide, " +
                                    std::to_string(bands) + " bands" +
                                    (pieces ? ", in pieces" : ""));
                if (pieces && document.ElementCount() > 16) {
                    EXPECT_GT(events, 2) << what;
                }
            }
        }
    }
}

// Every quality, plain and clipped over a background layer.
std::vector<TSetting> EveryQuality() {
    std::vector<TSetting> settings;
    for (int quality = 0; quality < 3; ++quality) {
        settings.push_back({quality, false, false});
        settings.push_back({quality, true, true});
    }
    return settings;
}

void ExpectBothRoadsAgree(const TPenReplayWT& document, const TPageMapping& mapping,
                          const std::string& what) {
    ExpectBothRoadsAgree(document, mapping, what, EveryQuality());
}

TPageMapping ScaledBy(float scale) {
    TPageMapping m;
    m.scaleX = m.scaleY = m.widthScale = scale;
    return m;
}

std::unique_ptr<TPenReplayWT> Loaded(const TTestFolder& folder, const std::string& name,
                                     const TRecordingWriter& w) {
    auto document = std::make_unique<TPenReplayWT>(1022, 718);
    EXPECT_EQ(LoadRecording(*document, WriteRecording(folder, name, w)), 0);
    return document;
}

TEST(BulkDrawing, TheTestPagesAgreeWithDrawingOneByOne) {
    TTestFolder folder;
    TRecordingWriter mixed(FloatHeader());
    WriteMixedPage(mixed);
    const auto page = Loaded(folder, "mixed.stk", mixed);
    ExpectBothRoadsAgree(*page, ScaledBy(1.0f), "the mixed page");
    ExpectBothRoadsAgree(*page, ScaledBy(0.37f), "the mixed page, shrunk");
    TPageMapping offset = ScaledBy(1.6f);
    offset.offsetX = -31.5f;
    offset.offsetY = -12.25f;
    ExpectBothRoadsAgree(*page, offset, "the mixed page, enlarged past the edges");
}

// Handwriting-like strokes across a page of 1022 x 718 units, many colours,
// widths and opacities, erasers among them.
std::unique_ptr<TPenReplayWT> Handwriting(const TTestFolder& folder, int points) {
    TRecordingWriter w(FloatHeader());
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> unit(0, 1);
    double x = 20, y = 40;
    for (int made = 0; made < points;) {
        const int loops = 2 + int(rng() % 5), samples = 11 * loops;
        std::vector<Point> stroke;
        const double width = 0.8 + 2 * unit(rng);
        for (int i = 0; i <= samples; ++i) {
            const double t = double(i) / samples, a = t * loops * 6.2831853;
            stroke.push_back({x + t * 13 * loops - 7 * std::sin(a), y - 10 * (1 + std::cos(a)),
                              i == samples ? 0 : width * (0.7 + 0.4 * std::cos(a))});
        }
        const int kind = int(rng() % 12);
        w.Stroke(stroke, {.color = uint32_t(rng()) & 0xFFFFFF,
                          .eraser = kind == 0 ? 1u : 0u,
                          .opacity = kind < 6    ? 255u
                                     : kind < 10 ? 160u
                                                 : 60u});
        made += samples + 1;
        x += 13 * loops + 9;
        if (x > 980) x = 15 + 10 * unit(rng), y += 31;
        if (y > 710) y = 30 + 20 * unit(rng);
    }
    return Loaded(folder, "handwriting.stk", w);
}

// Strokes of every size thrown over and past the page, with stamps among
// them (some larger than the page, some shrunk to nothing).
std::unique_ptr<TPenReplayWT> Scattered(const TTestFolder& folder, int points) {
    TRecordingWriter w(FloatHeader());
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> unit(0, 1);
    const fixture::Bytes stamp = fixture::EncodeBmp(fixture::PatternPicture(16, 12));
    for (int made = 0; made < points;) {
        if (rng() % 25 == 0) {
            const double size = std::pow(10.0, -1.5 + 4 * unit(rng));
            w.Stamp(float(-100 + 1200 * unit(rng)), float(-100 + 900 * unit(rng)), float(size),
                    float(size * 0.7), stamp);
            continue;
        }
        std::vector<Point> stroke;
        double px = -50 + 1120 * unit(rng), py = -50 + 820 * unit(rng);
        const double reach = std::pow(10.0, -1 + 3 * unit(rng));
        const int n = 2 + int(rng() % 40);
        for (int i = 0; i < n; ++i) {
            px += reach * (unit(rng) - 0.5);
            py += reach * (unit(rng) - 0.5);
            stroke.push_back({px, py, i + 1 == n ? 0 : reach * 0.3 * unit(rng)});
        }
        w.Stroke(stroke, {.color = uint32_t(rng()) & 0xFFFFFF,
                          .eraser = rng() % 9 == 0 ? 1u : 0u,
                          .opacity = rng() % 2 ? 255u : uint32_t(rng() % 256)});
        made += n;
    }
    return Loaded(folder, "scattered.stk", w);
}

// A highlighter's page: wide half-transparent strokes over each other.
std::unique_ptr<TPenReplayWT> Highlighted(const TTestFolder& folder, int points) {
    TRecordingWriter w(FloatHeader());
    for (int s = 0; s * 50 < points; ++s) {
        const double y = 20 + (s * 37) % 690, x0 = (s * 53) % 400;
        std::vector<Point> stroke;
        for (int i = 0; i < 50; ++i)
            stroke.push_back({x0 + i * 12.5, y + 9 * std::sin(i * 0.2 + s),
                              i == 49 ? 0 : 7 + 3 * std::sin(i * 0.3)});
        w.Stroke(stroke, {.color = uint32_t(s * 0x2345) & 0xFFFFFF, .opacity = 70});
    }
    return Loaded(folder, "highlighted.stk", w);
}

TEST(BulkDrawing, LargeGeneratedPagesAgreeWithDrawingOneByOne) {
    TTestFolder folder;
    const TPageMapping onDisplay = ScaledBy(float(kWidth) / 1022.0f);
    const auto handwriting = Handwriting(folder, 60000 / kSlowdown);
    ExpectBothRoadsAgree(*handwriting, onDisplay, "handwriting");
    ExpectBothRoadsAgree(*handwriting, ScaledBy(1.0f), "handwriting at its own size",
                         {{2, false, false, 1022, 718}, {2, true, true, 1022, 718}});
    ExpectBothRoadsAgree(*Scattered(folder, 40000 / kSlowdown), onDisplay, "scattered");
    ExpectBothRoadsAgree(*Highlighted(folder, 20000 / kSlowdown), onDisplay, "highlighted");
}

}  // namespace
}  // namespace quil::test
