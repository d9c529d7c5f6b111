// quil dump: every element and point, floats that read back exactly.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>

#include "info_json_reader.h"
#include "recording_writer.h"
#include "run_tool.h"
#include "test_folder.h"

namespace quil {
namespace {

using fixture::Bytes;
using fixture::Header;
using fixture::Point;
using fixture::TRecordingWriter;
using test::JsonValue;

// Writes the recording into a scratch folder and dumps it.
JsonValue Dump(const Bytes& recording) {
    testing::TTestFolder folder;
    const std::string file = (folder / "page.stk").string();
    EXPECT_TRUE(fixture::WriteFile(file, recording));
    auto run = test::RunQuil({"dump", file});
    EXPECT_EQ(run.status, 0) << run.err;
    JsonValue value;
    std::string error;
    EXPECT_TRUE(test::ParseJson(run.out, value, error)) << error;
    return value;
}

TEST(CliDump, TheExampleRecordingDumpsAsDocumented) {
    Header h;
    h.minor = 8;
    TRecordingWriter w(h);
    w.Stroke({{1, 1, 2}, {3, 1, 2}, {5, 1, 0}}, {.color = 255, .aux = 4, .tag = 3});
    w.Stamp(10, 10, 5, 5, fixture::EncodeBmp(fixture::SolidPicture(32, 32, 0)), 255, 6);
    JsonValue v = Dump(w.Body());
    EXPECT_EQ(v["page"]["width"].Integer(), 1022);
    EXPECT_EQ(v["page"]["height"].Integer(), 718);
    ASSERT_EQ(v["elements"].items.size(), 2u);
    const JsonValue& s = v["elements"][0];
    EXPECT_EQ(s["index"].Integer(), 0);
    EXPECT_EQ(s["kind"].text, "stroke");
    EXPECT_EQ(s["color"].Integer(), 255);
    EXPECT_EQ(s["opacity"].Integer(), 255);
    EXPECT_EQ(s["eraser"].Integer(), 0);
    EXPECT_EQ(s["recordTag"].Integer(), 3);
    EXPECT_EQ(s["recordAux"].Integer(), 4);
    EXPECT_EQ(s["maxRadius"].Float(), 2.0f);
    const float box[4] = {1, 1, 5, 1};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(s["box"][i].Float(), box[i]);
    ASSERT_EQ(s["points"].items.size(), 3u);
    EXPECT_EQ(s["points"][2][0].Float(), 5.0f);
    EXPECT_EQ(s["points"][2][2].Float(), 0.0f);
    const JsonValue& t = v["elements"][1];
    EXPECT_EQ(t["kind"].text, "stamp");
    EXPECT_EQ(t["recordTag"].Integer(), 6);
    EXPECT_EQ(t["x"].Float(), 10.0f);
    EXPECT_EQ(t["height"].Float(), 5.0f);
    EXPECT_EQ(t["picture"]["width"].Integer(), 32);
    EXPECT_EQ(t["picture"]["height"].Integer(), 32);
    EXPECT_EQ(t.members.count("points"), 0u);
}

TEST(CliDump, FloatsReadBackAsTheSameFloat32AndNonFiniteValuesAreNull) {
    std::mt19937 rng(4242);
    std::uniform_int_distribution<uint32_t> bits;
    std::vector<Point> points;
    std::vector<float> expected;
    const float special[] = {0.1f, 1e-30f, 3.4028235e38f, -0.0f, 1.17549435e-38f, 16777217.0f};
    for (float f : special) {
        points.push_back({f, -f, 1});
        expected.push_back(f);
    }
    while (points.size() < 400) {
        uint32_t b = bits(rng);
        float f;
        std::memcpy(&f, &b, 4);
        if (!std::isfinite(f)) continue;
        points.push_back({f, -f, 1});
        expected.push_back(f);
    }
    const float inf = std::numeric_limits<float>::infinity();
    points.push_back({std::nan(""), inf, 0});
    Header h;
    h.minor = 6;  // float points
    TRecordingWriter w(h);
    w.Stroke(points);
    JsonValue v = Dump(w.Body());
    const JsonValue& list = v["elements"][0]["points"];
    ASSERT_EQ(list.items.size(), points.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        float x = list[i][0].Float();
        EXPECT_EQ(std::memcmp(&x, &expected[i], 4), 0) << list[i][0].number;
        EXPECT_EQ(list[i][1].Float(), -expected[i]);
    }
    EXPECT_TRUE(list[expected.size()][0].IsNull());
    EXPECT_TRUE(list[expected.size()][1].IsNull());
    // The NaN spoils the box too, which is printed as it stands.
    EXPECT_EQ(v["elements"][0]["box"].items.size(), 4u);
}

TEST(CliDump, LargeRecordingDumpsEveryPoint) {
    Header h;
    h.minor = 6;  // float points
    TRecordingWriter w(h);
    std::vector<Point> points;
    for (int i = 0; i < 100000; ++i)
        points.push_back({i * 0.25, 7, i + 1 == 100000 ? 0.0 : 1.0});
    w.Stroke(points);
    JsonValue v = Dump(fixture::Packed(w.Body()));
    const JsonValue& list = v["elements"][0]["points"];
    ASSERT_EQ(list.items.size(), 100000u);
    EXPECT_EQ(list[99999][0].Float(), 99999 * 0.25f);
}

}  // namespace
}  // namespace quil
