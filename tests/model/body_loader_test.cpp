// Plain recording bodies of every generation and minor version.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>

#include "model/document.h"
#include "model_test_support.h"
#include "platform/file_reader.h"

namespace quil {
namespace {

using fixture::Bytes;
using fixture::Generation;
using fixture::Header;
using fixture::Point;
using fixture::StrokeOptions;
using fixture::TRecordingWriter;
using test::LoadBytes;
using test::PointsOf;
using test::PointValue;

Header Qui3(uint16_t minor) {
    Header h;
    h.generation = Generation::Qui3;
    h.minor = minor;
    return h;
}

Bytes SmallBmp(int w = 2, int h = 2) { return fixture::EncodeBmp(fixture::PatternPicture(w, h)); }

TEST(BodyLoader, HeaderOnlyQuilBodyLoadsEmpty) {
    Header h;
    h.generation = Generation::Quil;
    h.pageWidth = 640;
    h.pageHeight = 480;
    Bytes body = TRecordingWriter(h).Body();
    ASSERT_EQ(body.size(), 20u);
    TPenReplayWT doc(1022, 718);
    EXPECT_EQ(LoadBytes(doc, body), kLoadOk);
    EXPECT_EQ(doc.GetPageWidth(), 640);
    EXPECT_EQ(doc.GetPageHeight(), 480);
    EXPECT_EQ(doc.ElementCount(), 0);
    EXPECT_EQ(doc.version, 0x10001u);
    EXPECT_EQ(doc.bodySize, 20u);
}

// Result codes in the order the checks run.
struct CodeCase {
    const char* name;
    Bytes bytes;
    int code;
};

std::vector<CodeCase> CodeCases() {
    Header quil;
    quil.generation = Generation::Quil;
    Bytes twenty = TRecordingWriter(quil).Body();
    Header bigSize = quil;
    bigSize.bodySize = 21;
    Header qui3v20 = Qui3(0);
    qui3v20.major = 2;
    Header qui3v19 = Qui3(9);
    qui3v19.bodySize = 1;  // the minor is checked before the size
    Bytes badMagic = twenty;
    badMagic[3] = 'X';
    badMagic[4] = 99;  // a wrong size too: the magic is reported first
    Header zeroWidth = Qui3(8);
    zeroWidth.pageWidth = 0;
    Header hugeHeight = Qui3(8);
    hugeHeight.pageHeight = 32768;
    Header zeroScale = Qui3(7);
    zeroScale.pointScale = 0;
    Header hugeSubdivision = Qui3(3);
    hugeSubdivision.subdivision = 1 << 30;
    Header qui3 = Qui3(8);
    Bytes shortHeader = TRecordingWriter(qui3).Body();
    shortHeader.resize(600);
    shortHeader[8] = uint8_t(600 & 0xFF);
    shortHeader[9] = uint8_t(600 >> 8);

    return {
        {"nineteen bytes", Bytes(twenty.begin(), twenty.end() - 1), kLoadBadRegion},
        {"size one more than the file", TRecordingWriter(bigSize).Body(), kLoadSizeMismatch},
        {"major version 2", TRecordingWriter(qui3v20).Body(), kLoadBadMajor},
        {"minor version 9", TRecordingWriter(qui3v19).Body(), kLoadNewerVersion},
        {"unknown magic", badMagic, kLoadBadRegion},
        {"page width 0", TRecordingWriter(zeroWidth).Body(), kLoadBadRegion},
        {"page height 32768", TRecordingWriter(hugeHeight).Body(), kLoadBadRegion},
        {"point scale 0", TRecordingWriter(zeroScale).Body(), kLoadBadRegion},
        {"subdivision 2^30", TRecordingWriter(hugeSubdivision).Body(), kLoadBadRegion},
        {"header cut by the region", shortHeader, kLoadBadRegion},
    };
}

TEST(BodyLoader, ResultCodesFollowTheOrderOfTheChecks) {
    for (const CodeCase& c : CodeCases()) {
        TPenReplayWT doc(1022, 718);
        EXPECT_EQ(LoadBytes(doc, c.bytes), c.code) << c.name;
    }
    TPenReplayWT doc(1022, 718);
    EXPECT_EQ(doc.LoadFile("/nonexistent/folder/file.stk"), kLoadCannotOpen);
    EXPECT_EQ(doc.LoadFile(std::filesystem::temp_directory_path()), kLoadCannotOpen);
}

TEST(BodyLoader, HeaderFieldsOfEveryMinorVersion) {
    for (uint16_t minor = 0; minor <= 8; ++minor) {
        Header h = Qui3(minor);
        h.pageWidth = 800;
        h.pageHeight = 600;
        h.ansiTitle = "Page";
        h.title = u"Seite \u00e9\u4e2d";
        h.ansiExtraText = "more";
        h.extraText = u"mehr";
        h.reservedWord = 77;
        h.gridCellSize = 0x00140028;
        h.gridOrigin = 0x00050006;
        h.gridCells = 0x000A000B;
        h.gridSubdivisions = 0x00020003;
        h.pointScale = 4;
        h.extraWord = 0xCAFE;
        TRecordingWriter w(h);
        w.Stroke({{1, 2, 0.5}, {3, 4, 0}});
        TPenReplayWT doc(1022, 718);
        ASSERT_EQ(LoadBytes(doc, w.Body()), kLoadOk) << "minor " << minor;
        EXPECT_EQ(doc.version, 0x10000u | minor);
        EXPECT_EQ(std::string(doc.magic, 4), "Qui3");
        EXPECT_EQ(doc.pageWidth, 800);
        EXPECT_EQ(doc.reservedWord, 77);
        EXPECT_EQ(doc.gridCellSize, 0x00140028u);
        EXPECT_EQ(doc.gridOrigin, 0x00050006u);
        EXPECT_EQ(doc.gridCells, 0x000A000Bu);
        EXPECT_EQ(doc.gridSubdivisions, minor >= 6 ? 0x00020003u : 0u);
        EXPECT_EQ(doc.extraWord, minor == 8 ? 0xCAFEu : 0u);
        std::u16string title(doc.title.data());
        std::u16string extra(doc.extraText.data());
        EXPECT_EQ(title, minor >= 4 ? u"Seite \u00e9\u4e2d" : u"Page");
        EXPECT_EQ(extra, minor >= 4 ? u"mehr" : u"more");
        std::vector<PointValue> expected{{1, 2, 0.5f}, {3, 4, 0}};
        EXPECT_EQ(PointsOf(doc.firstElement), expected) << "minor " << minor;
    }
}

TEST(BodyLoader, Qui2HeaderWithAnsiTitleAndNoExtraGridWords) {
    Header h;
    h.generation = Generation::Qui2;
    h.ansiTitle = std::string("Page\0junk", 9);  // the text ends at its first NUL
    h.ansiExtraText = "Caf\xe9";                 // CP1252 e-acute
    h.gridCellSize = 0x00100010;
    TPenReplayWT doc(1022, 718);
    ASSERT_EQ(LoadBytes(doc, TRecordingWriter(h).Body()), kLoadOk);
    EXPECT_EQ(doc.version, 0x10002u);
    EXPECT_EQ(std::u16string(doc.title.data()), u"Page");
    EXPECT_EQ(std::u16string(doc.extraText.data()), u"Caf\u00e9");
    EXPECT_EQ(doc.gridCellSize, 0x00100010u);
    EXPECT_EQ(doc.gridOrigin, 0u);
}

TEST(BodyLoader, IntegerPointsAreDividedByThePointScale) {
    Header h = Qui3(7);
    h.pointScale = 10;
    TRecordingWriter w(h);
    w.Stroke({{12.5, -3.0, 1.5}});
    TPenReplayWT doc(1022, 718);
    ASSERT_EQ(LoadBytes(doc, w.Body()), kLoadOk);
    std::vector<PointValue> expected{{12.5f, -3.0f, 1.5f}};
    EXPECT_EQ(PointsOf(doc.firstElement), expected);
    // 1/3 is not exact: the quotient is rounded to float32 once.
    Header third = Qui3(8);
    third.pointScale = 3;
    TRecordingWriter w3(third);
    w3.Stroke({{1.0 / 3, 2.0 / 3, 1}});
    ASSERT_EQ(LoadBytes(doc, w3.Body()), kLoadOk);
    EXPECT_EQ(PointsOf(doc.firstElement)[0].x, float(1.0 / 3.0));
}

TEST(BodyLoader, TaggedHeadsGiveTagsToTheStrokeThatTookTheFirstPoint) {
    TRecordingWriter w(Qui3(8));
    w.Stroke({{1, 1, 1}, {2, 2, 1}}, {.aux = 5, .tag = 11});  // stays open
    w.Stroke({{3, 3, 1}, {4, 4, 0}, {5, 5, 1}}, {.aux = 6, .tag = 22});
    w.Stamp(1, 2, 3, 4, SmallBmp(), 0x0000FF, 33);
    TPenReplayWT doc(1022, 718);
    ASSERT_EQ(LoadBytes(doc, w.Body()), kLoadOk);
    ASSERT_EQ(doc.ElementCount(), 3);
    auto* first = static_cast<TStrokeDataWT*>(doc.ElementAt(0, false));
    auto* second = static_cast<TStrokeDataWT*>(doc.ElementAt(1, false));
    // The second record continued the first stroke and overwrote its tags;
    // the stroke it opened after the lift keeps 0.
    EXPECT_EQ(first->pointCount, 4);
    EXPECT_EQ(first->recordTag, 22u);
    EXPECT_EQ(first->recordAux, 6u);
    EXPECT_EQ(second->recordTag, 0u);
    EXPECT_EQ(second->recordAux, 0u);
    EXPECT_EQ(doc.ElementAt(2, false)->recordTag, 33u);
    EXPECT_EQ(doc.ElementAt(2, false)->color, 0x0000FFu);
}

TEST(BodyLoader, SubdivisionInterpolatesWithinARecord) {
    struct Case {
        int32_t subdivision;
        std::vector<Point> stored;
        std::vector<PointValue> expected;
    };
    const Case cases[] = {
        {2, {{0, 0, 1}, {4, 2, 3}}, {{0, 0, 1}, {2, 1, 2}, {4, 2, 3}}},
        {4,
         {{0, 0, 1}, {4, 0, 1}, {4, 0, 0}},
         {{0, 0, 1},
          {1, 0, 1},
          {2, 0, 1},
          {3, 0, 1},
          {4, 0, 1},
          {4, 0, 0.75f},
          {4, 0, 0.5f},
          {4, 0, 0.25f},
          {4, 0, 0}}},
        {1, {{0, 0, 1}, {4, 2, 3}}, {{0, 0, 1}, {4, 2, 3}}},
        {-3, {{0, 0, 1}, {4, 2, 3}}, {{0, 0, 1}, {4, 2, 3}}},
    };
    for (const Case& c : cases) {
        Header h;
        h.generation = Generation::Qui2;
        h.subdivision = c.subdivision;
        TRecordingWriter w(h);
        w.Stroke(c.stored, {.kind = 0});
        TPenReplayWT doc(1022, 718);
        ASSERT_EQ(LoadBytes(doc, w.Body()), kLoadOk);
        EXPECT_EQ(doc.ElementCount(), 1) << c.subdivision;
        EXPECT_EQ(PointsOf(doc.firstElement), c.expected) << c.subdivision;
    }
}

TEST(BodyLoader, SubdividedIntegerBodiesStoreTheFirstPointAsFloats) {
    Header h = Qui3(7);
    h.subdivision = 2;
    h.pointScale = 2;
    TRecordingWriter w(h);
    w.Stroke({{0.25, 0, 1}, {4.5, 2, 1}});  // 0.25 has no integer form at scale 2
    w.Stroke({{10, 10, 1}, {12, 10, 0}});
    TPenReplayWT doc(1022, 718);
    ASSERT_EQ(LoadBytes(doc, w.Body()), kLoadOk);
    // The interpolation never crosses records.
    std::vector<PointValue> expected{{0.25f, 0, 1}, {2.375f, 1, 1}, {4.5f, 2, 1},
                                     {10, 10, 1},   {11, 10, 0.5f}, {12, 10, 0}};
    EXPECT_EQ(PointsOf(doc.firstElement), expected);
}

TEST(BodyLoader, KindZeroRecordsSetOpacityAndEraserAndContinuationKeepsColour) {
    TRecordingWriter w(Qui3(6));
    w.Stroke({{1, 1, 1}}, {.kind = 0, .color = 0x0000FF});
    w.Stroke({{2, 2, 1}, {3, 3, 0}}, {.kind = 7, .color = 0x00FF00, .eraser = 1, .opacity = 90});
    w.Stroke({{4, 4, 1}, {5, 5, 0}}, {.kind = 7, .color = 0xFF0000, .eraser = 1, .opacity = 90});
    w.Stroke({{6, 6, 1}}, {.kind = 0, .color = 0x00FFFF});
    TPenReplayWT doc(1022, 718);
    ASSERT_EQ(LoadBytes(doc, w.Body()), kLoadOk);
    ASSERT_EQ(doc.ElementCount(), 3);
    auto* a = static_cast<TStrokeDataWT*>(doc.ElementAt(0, false));
    auto* b = static_cast<TStrokeDataWT*>(doc.ElementAt(1, false));
    auto* c = static_cast<TStrokeDataWT*>(doc.ElementAt(2, false));
    EXPECT_EQ(a->color, 0x0000FFu);
    EXPECT_EQ(a->opacity, 255u);
    EXPECT_EQ(a->eraser, 0u);
    EXPECT_EQ(a->pointCount, 3);
    EXPECT_EQ(b->color, 0xFF0000u);
    EXPECT_EQ(b->opacity, 90u);
    EXPECT_EQ(b->eraser, 1u);
    EXPECT_EQ(c->opacity, 255u);
    EXPECT_EQ(c->eraser, 0u);
}

TEST(BodyLoader, UnknownKindsAreSkippedByTheirHeadAndLeftoversIgnored) {
    for (uint16_t minor : {3, 8}) {
        TRecordingWriter w(Qui3(minor));
        w.Stroke({{1, 1, 1}});
        w.Record(3, 0xFFFFFF, 99);
        w.Stroke({{2, 2, 0}});
        w.Raw({1, 2, 3});
        TPenReplayWT doc(1022, 718);
        ASSERT_EQ(LoadBytes(doc, w.Body()), kLoadOk);
        EXPECT_EQ(doc.ElementCount(), 1);
        std::vector<PointValue> expected{{1, 1, 1}, {2, 2, 0}};
        EXPECT_EQ(PointsOf(doc.firstElement), expected);
    }
}

TEST(BodyLoader, BackgroundRecordsReplaceEachOtherAndDoNotCloseTheStroke) {
    TRecordingWriter w(Qui3(5));
    w.Stroke({{1, 1, 1}});
    w.Background(1, 0, SmallBmp(3, 2));
    w.Stroke({{2, 2, 0}});
    w.Background(2, 3, SmallBmp(5, 4));
    TPenReplayWT doc(1022, 718);
    ASSERT_EQ(LoadBytes(doc, w.Body()), kLoadOk);
    EXPECT_EQ(doc.ElementCount(), 1);
    ASSERT_NE(doc.background, nullptr);
    EXPECT_EQ(doc.background->Width(), 5);
    EXPECT_EQ(doc.background->Height(), 4);
    EXPECT_EQ(doc.backgroundMode, 2);
    EXPECT_EQ(doc.backgroundPlacement, 3);
}

TEST(BodyLoader, StampPicturesArriveWithTheirPixels) {
    fixture::Picture picture = fixture::PatternPicture(5, 3);
    TRecordingWriter w(Qui3(8));
    w.Stamp(10.5f, 20, 30, 40, fixture::EncodeBmp(picture));
    TPenReplayWT doc(1022, 718);
    ASSERT_EQ(LoadBytes(doc, w.Body()), kLoadOk);
    auto* stamp = static_cast<TStampDataWT*>(doc.firstElement);
    ASSERT_EQ(stamp->kind, kStampKind);
    EXPECT_EQ(stamp->x, 10.5f);
    EXPECT_EQ(stamp->maxY, 60.0f);
    ASSERT_EQ(stamp->picture.Width(), 5);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const uint8_t* p = stamp->picture.ScanLine(y) + 3 * x;
            uint32_t c = picture.At(x, y);
            EXPECT_EQ(p[2], uint8_t(c));
            EXPECT_EQ(p[1], uint8_t(c >> 8));
            EXPECT_EQ(p[0], uint8_t(c >> 16));
        }
}

// Damage inside the records: what stays, and which code results.
TEST(BodyLoader, RecordsCutShortOrDamaged) {
    auto withStroke = [] {
        TRecordingWriter w(Qui3(8));
        w.Stroke({{1, 1, 1}, {2, 2, 0}});
        return w;
    };
    struct Case {
        const char* name;
        Bytes body;
        int code;
        int elements;
        int pointsInLast;
    };
    std::vector<Case> cases;
    {
        TRecordingWriter w = withStroke();
        w.Stroke({{5, 5, 1}, {6, 6, 1}, {7, 7, 1}});
        Bytes b = w.Body();
        b.resize(b.size() - 5);  // the third point is cut
        b[8] = uint8_t(b.size()), b[9] = uint8_t(b.size() >> 8);
        cases.push_back({"stroke cut short keeps its points", b, kLoadOk, 2, 2});
    }
    {
        TRecordingWriter w = withStroke();
        w.Stroke({{5, 5, 1}}, {.count = 1'000'000'000});  // no reservation by count
        cases.push_back({"huge point count", w.Body(), kLoadOk, 2, 1});
    }
    {
        TRecordingWriter w = withStroke();
        w.Stroke({{5, 5, 1}}, {.count = -1});
        cases.push_back({"negative point count", w.Body(), kLoadOk, 1, 2});
    }
    {
        TRecordingWriter w = withStroke();
        w.Record(4, 0, 0, Bytes(20, 0));  // stamp fields, then a picture of length 0
        cases.push_back({"empty picture", w.Body(), kLoadBadRegion, 1, 2});
    }
    {
        TRecordingWriter w = withStroke();
        Bytes bmp = SmallBmp();
        bmp[0] = 'X';
        w.Stamp(0, 0, 1, 1, bmp);
        cases.push_back({"undecodable picture", w.Body(), kLoadBadRegion, 1, 2});
    }
    {
        TRecordingWriter w = withStroke();
        Bytes extra(8, 0);
        fixture::PutU32(extra, 1000);  // mode, placement, then L past the end
        extra.resize(extra.size() + 10, 0);
        w.Record(5, 0, 0, extra);
        cases.push_back({"picture runs past the region", w.Body(), kLoadBadRegion, 1, 2});
    }
    {
        TRecordingWriter w = withStroke();
        w.Record(4, 0, 0, Bytes(6, 0));  // the stamp's fields are cut
        cases.push_back({"stamp head cut short", w.Body(), kLoadOk, 1, 2});
    }
    {
        TRecordingWriter w = withStroke();
        w.Raw({7, 0, 0, 0, 1, 2});  // a kind, then half a colour word
        cases.push_back({"record head cut short", w.Body(), kLoadOk, 1, 2});
    }
    for (const Case& c : cases) {
        TPenReplayWT doc(1022, 718);
        EXPECT_EQ(LoadBytes(doc, c.body), c.code) << c.name;
        if (c.code != kLoadOk) continue;
        EXPECT_EQ(doc.ElementCount(), c.elements) << c.name;
        EXPECT_EQ(PointsOf(doc.lastElement).size(), size_t(c.pointsInLast)) << c.name;
    }
}

TEST(BodyLoader, RegionInsideALargerFileAndRegionsOutsideIt) {
    TRecordingWriter w(Qui3(8));
    w.Stroke({{1, 1, 1}});
    Bytes body = w.Body();
    Bytes file = fixture::Concat(fixture::Concat(Bytes(37, 0xAA), body), Bytes(11, 0xBB));
    TFileReader reader;
    reader.OpenMemory(file.data(), file.size());
    TPenReplayWT doc(1022, 718);
    EXPECT_EQ(doc.LoadBody(reader, 37, uint32_t(body.size())), kLoadOk);
    EXPECT_EQ(doc.ElementCount(), 1);
    doc.ClearDocument();
    EXPECT_EQ(doc.LoadBody(reader, 38, uint32_t(body.size())), kLoadBadRegion);  // magic off by one
    EXPECT_EQ(doc.LoadBody(reader, 37, uint32_t(file.size())), kLoadBadRegion);
    // offset + size wraps round in 32 bits: still outside the file.
    EXPECT_EQ(doc.LoadBody(reader, 0xFFFFFFF0u, 0x20u), kLoadBadRegion);
}

// The writer and the loader are two separate readings of the format: a
// random recording written by one must come back exactly from the other.
TEST(BodyLoader, RandomRecordingsComeBackExactly) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<float> coord(-50, 1100);
    std::uniform_int_distribution<int> small(0, 9);
    for (uint16_t minor : {0, 4, 6, 8}) {
        TRecordingWriter w(Qui3(minor));
        std::vector<std::vector<PointValue>> strokes;
        for (int s = 0; s < 20; ++s) {
            std::vector<Point> points;
            std::vector<PointValue> expected;
            int n = 2 + small(rng) * 7;  // a lone lifting point would stay open
            for (int i = 0; i < n; ++i) {
                float r = i + 1 == n ? 0.0f : 0.5f + small(rng);
                // Integer forms store whole numbers with scale 1.
                float x = minor >= 7 ? float(int(coord(rng))) : coord(rng);
                float y = minor >= 7 ? float(int(coord(rng))) : coord(rng);
                if (minor >= 7) r = float(int(r));
                if (i + 1 < n && r == 0.0f) r = 1.0f;
                points.push_back({x, y, r});
                expected.push_back({x, y, r});
            }
            w.Stroke(points,
                     {.color = uint32_t(rng() & 0xFFFFFF), .opacity = uint32_t(small(rng))});
            strokes.push_back(expected);
        }
        TPenReplayWT doc(1022, 718);
        ASSERT_EQ(LoadBytes(doc, w.Body()), kLoadOk);
        ASSERT_EQ(doc.ElementCount(), 20) << "minor " << minor;
        int i = 0;
        for (const TInkelDataWT* e = doc.firstElement; e; e = e->next, ++i)
            EXPECT_EQ(PointsOf(e), strokes[size_t(i)]) << "minor " << minor << " stroke " << i;
    }
}

}  // namespace
}  // namespace quil
