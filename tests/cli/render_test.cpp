// quil render: the window's picture after its steps, as a file.

#include <gtest/gtest.h>

#include "export/bmp_writer.h"
#include "picture_decoders.h"
#include "player/manual_timer.h"
#include "player/quil3_reader.h"
#include "recording_writer.h"
#include "run_tool.h"
#include "test_folder.h"

namespace quil::test {
namespace {

using fixture::TRecordingWriter;
using testing::ReadPng;
using testing::TRgbaPicture;

std::vector<fixture::Point> Zigzag(double x0, double x1, double y, int count, double r) {
    std::vector<fixture::Point> points;
    for (int i = 0; i < count; ++i)
        points.push_back({x0 + (x1 - x0) * i / (count - 1), y + 4.0 * (i % 2), r});
    points.back().radius = 0;
    return points;
}

class RenderCommand : public ::testing::Test {
protected:
    testing::TTestFolder folder;
    std::string recording;

    void SetUp() override {
        fixture::Header h;
        h.generation = fixture::Generation::Qui3;
        h.minor = 6;
        h.pageWidth = 300;
        h.pageHeight = 200;
        h.gridCellSize = 25 | (25u << 16);
        TRecordingWriter w(h);
        w.Background(2, 0, fixture::EncodeBmp(fixture::PatternPicture(30, 10)));
        w.Stroke(Zigzag(10, 290, 40, 30, 4.0), {.color = 0x0000FF});
        w.Stroke(Zigzag(20, 250, 90, 40, 6.0), {.color = 0x00AA00, .opacity = 120});
        w.Stamp(120, 120, 40, 30, fixture::EncodeBmp(fixture::PatternPicture(16, 12)));
        w.Stroke(Zigzag(30, 270, 150, 50, 3.0), {.color = 0x000000});
        recording = (folder / "page.stk").string();
        fixture::WriteFile(recording, w.Body());
    }

    // The window's picture, from the player driven here with the same steps.
    TBitmap Expected(int width, int height, float zoom, int quality,
                     const std::function<void(TQuil3Reader&, TManualTimerFactory&)>& steps) {
        TManualTimerFactory timers;
        TQuil3Reader player(timers, nullptr, 0, 0);
        player.SetLayout(nullptr, width, height, zoom, 0, 0);
        player.SetQuality(quality);
        EXPECT_EQ(player.Open(recording), 0);
        player.Show(true);
        if (steps) steps(player, timers);
        return player.Renderer()->DisplayDC().Clone();
    }

    static int Differences(const TRgbaPicture& png, const TBitmap& expected) {
        if (png.width != expected.Width() || png.height != expected.Height()) return -1;
        int n = 0;
        for (int y = 0; y < png.height; ++y)
            for (int x = 0; x < png.width; ++x) {
                const uint8_t* a = png.At(x, y);
                const uint8_t* b = expected.ScanLine(y) + 3 * x;
                n += a[0] != b[2] || a[1] != b[1] || a[2] != b[0];
            }
        return n;
    }
};

TEST_F(RenderCommand, DefaultsShowTheCompletePageAtZoomOneAndBest) {
    const std::string out = (folder / "page.png").string();
    const ToolRun run = RunQuil({"render", recording, "-o", out});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(Differences(ReadPng(out), Expected(300, 200, 1.0f, 2, nullptr)), 0);
}

TEST_F(RenderCommand, StepsRunInTheirOrder) {
    const std::string out = (folder / "steps.png").string();
    const ToolRun run =
        RunQuil({"render", recording, "-o", out, "--zoom", "0.5", "--quality", "middle", "--grid",
                 "off", "--position", "1", "--play", "9", "--rate", "2", "--reverse"});
    ASSERT_EQ(run.status, 0) << run.err;
    const TBitmap expected =
        Expected(150, 100, 0.5f, 1, [](TQuil3Reader& p, TManualTimerFactory& t) {
            p.SetGrid(false);
            p.Show(true);
            p.Seek(1, -1);
            p.SetReplayStep(2);
            p.Play();
            for (int i = 0; i < 9; ++i)
                t.WithInterval(33)->Tick();
            p.SetReverse(true);
        });
    EXPECT_EQ(Differences(ReadPng(out), expected), 0);
}

TEST_F(RenderCommand, SizeUsesTheWindowsFitRuleAndBmpIsTheDisplaySurface) {
    const std::string out = (folder / "fit.BMP").string();
    const ToolRun run =
        RunQuil({"render", recording, "-o", out, "--size", "150x150", "--quality", "low"});
    ASSERT_EQ(run.status, 0) << run.err;
    // 150 / 300 is below 150 / 200: the width fills, height trunc(200 * 0.5).
    const std::vector<uint8_t> expected = EncodeBmp(Expected(150, 100, 0.5f, 0, nullptr));
    EXPECT_EQ(testing::ReadWholeFile(out), expected);
}

TEST_F(RenderCommand, ErrorsLeaveNoFileAndKeepAnOldOne) {
    const std::string out = (folder / "keep.png").string();
    testing::WriteText(out, "old");
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {{"render", recording, "-o", out, "--zoom", "0"}, 64},
        {{"render", recording, "-o", out, "--zoom", "1", "--size", "10x10"}, 64},
        {{"render", recording, "-o", out, "--quality", "ultra"}, 64},
        {{"render", recording, "-o", out, "--step", "0"}, 64},
        {{"render", recording, "-o", out, "--rate", "10"}, 64},
        {{"render", recording, "-o", out, "--step", "3", "--rate", "2"}, 64},
        {{"render", recording, "-o", (folder / "x.jpg").string()}, 64},
        {{"render", recording}, 64},
        {{"render", recording, "-o", out, "--bogus"}, 64},
        {{"render", (folder / "missing.stk").string(), "-o", out}, 1},
        {{"render", recording, "-o", out, "--zoom", "0.001"}, 7},
        {{"render", recording, "-o", (folder / "no" / "such" / "dir.png").string()}, 70},
    };
    for (const Case& c : cases) {
        const ToolRun run = RunQuil(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.back() << ": " << run.err;
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(run.err.back(), '\n');
    }
    EXPECT_EQ(testing::ReadText(out), "old");
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"keep.png", "page.stk"}));
}

TEST_F(RenderCommand, LoadErrorsNameTheFileAndTheCode) {
    const ToolRun run =
        RunQuil({"render", (folder / "missing.stk").string(), "-o", (folder / "a.png").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("missing.stk: cannot open the file (code 1)"), std::string::npos)
        << run.err;
}

}  // namespace
}  // namespace quil::test
