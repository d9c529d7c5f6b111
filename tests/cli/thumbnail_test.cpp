// quil thumbnail: the page for file managers, run as a program and checked
// against quil export of the same page at the same size, and against the
// whole page reduced by averaging.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "picture_decoders.h"
#include "recording_writer.h"
#include "run_tool.h"
#include "test_folder.h"

namespace quil::test {
namespace {

namespace fs = std::filesystem;
using fixture::Bytes;
using fixture::TRecordingWriter;
using testing::ReadPng;
using testing::SamePixels;
using testing::TRgbaPicture;

std::vector<fixture::Point> Wave(double x0, double x1, double y, int count, double r) {
    std::vector<fixture::Point> points;
    for (int i = 0; i < count; ++i)
        points.push_back({x0 + (x1 - x0) * i / (count - 1), y + 6.0 * (i % 3), r});
    points.back().radius = 0;
    return points;
}

// A 400 x 250 page that shows at once whether every layer is there and
// where the page lies: a tiled background covering all of it, a grid,
// strokes of several colours, a stamp and an eraser stroke.
Bytes RichBody() {
    fixture::Header h;
    h.pageWidth = 400;
    h.pageHeight = 250;
    h.gridCellSize = 40 | (40u << 16);
    h.gridCells = 10 | (6u << 16);
    TRecordingWriter w(h);
    w.Background(1, 0, fixture::EncodeBmp(fixture::PatternPicture(24, 16, 6)));
    w.Stroke(Wave(20, 380, 40, 40, 5.0), {.color = 0x0000C0});
    w.Stroke(Wave(30, 360, 110, 30, 8.0), {.color = 0x00A000, .opacity = 140});
    w.Stamp(250, 150, 80, 60, fixture::EncodeBmp(fixture::PatternPicture(20, 15)));
    w.Stroke(Wave(40, 300, 200, 25, 3.0), {.color = 0x000000});
    w.Stroke(Wave(100, 200, 40, 10, 6.0), {.eraser = 1});
    return w.Body();
}

Bytes EmptyBody(int width, int height) {
    fixture::Header h;
    h.pageWidth = width;
    h.pageHeight = height;
    return TRecordingWriter(h).Body();
}

class ThumbnailCommand : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        return folder.Write(name, bytes).string();
    }
    std::string Path(const std::string& name) const { return (folder / name).string(); }

    testing::TTestFolder folder;
};

TEST_F(ThumbnailCommand, LongestSideIsSizeAndTheOtherKeepsTheAspect) {
    struct TCase {
        int pageWidth, pageHeight, size, width, height;
    };
    const TCase cases[] = {
        {1022, 718, 256, 256, 179},   {718, 1022, 256, 179, 256}, {500, 500, 128, 128, 128},
        {1022, 718, 1024, 1024, 719}, {1022, 718, 1, 1, 1},       {30000, 10, 256, 256, 1},
        {10, 30000, 96, 1, 96},       {32767, 20000, 64, 64, 39},
    };
    for (const TCase& c : cases) {
        const std::string name = std::to_string(c.pageWidth) + "x" + std::to_string(c.pageHeight) +
                                 "@" + std::to_string(c.size);
        const std::string recording = Write(name + ".stk", EmptyBody(c.pageWidth, c.pageHeight));
        const ToolRun run =
            RunQuil({"thumbnail", recording, Path(name + ".png"), std::to_string(c.size)});
        ASSERT_EQ(run.status, 0) << name << ": " << run.err;
        EXPECT_EQ(run.out, "") << name;
        const testing::TPngHeader png =
            testing::ReadPngHeader(testing::ReadWholeFile(Path(name + ".png")));
        ASSERT_TRUE(png.valid) << name;
        EXPECT_EQ(png.width, uint32_t(c.width)) << name;
        EXPECT_EQ(png.height, uint32_t(c.height)) << name;
        EXPECT_EQ(png.bitDepth, 8) << name;
        EXPECT_EQ(png.colorType, 2) << name;
    }
}

TEST_F(ThumbnailCommand, IsTheCompletePageWithGridAndBackgroundAtItsSize) {
    const std::string page = Write("page.stk", RichBody());
    ASSERT_EQ(RunQuil({"thumbnail", page, Path("thumb.png"), "200"}).status, 0);
    ASSERT_EQ(RunQuil({"export", page, "-o", Path("export.png"), "--size", "200x125"}).status, 0);
    ASSERT_EQ(RunQuil({"export", page, "-o", Path("bare.png"), "--size", "200x125", "--grid", "off",
                       "--background", "off"})
                  .status,
              0);
    const TRgbaPicture thumb = ReadPng(folder / "thumb.png");
    EXPECT_TRUE(SamePixels(thumb, ReadPng(folder / "export.png")));
    EXPECT_FALSE(SamePixels(thumb, ReadPng(folder / "bare.png")));
}

// The road of the whole page, reduced 2 : 1 by averaging, lands on nearly
// the same picture as the page rendered straight at half size: the page
// fills the thumbnail, with no band and no shift. They differ only where
// edges fall differently at the two resolutions (strokes and grid lines
// half as wide in pixels, background tiles stretched to other sample
// positions), which the tolerance allows.
TEST_F(ThumbnailCommand, LooksLikeTheWholePageReduced) {
    const std::string page = Write("page.stk", RichBody());
    ASSERT_EQ(RunQuil({"thumbnail", page, Path("thumb.png"), "200"}).status, 0);
    ASSERT_EQ(RunQuil({"export", page, "-o", Path("full.png")}).status, 0);
    const TRgbaPicture thumb = ReadPng(folder / "thumb.png");
    const TRgbaPicture full = ReadPng(folder / "full.png");
    ASSERT_EQ(thumb.width, 200);
    ASSERT_EQ(thumb.height, 125);
    ASSERT_EQ(full.width, 400);
    ASSERT_EQ(full.height, 250);
    long long total = 0;
    int worstRow = 0, worstColumn = 0;
    std::vector<long long> rowSums(125, 0), columnSums(200, 0);
    for (int y = 0; y < 125; ++y)
        for (int x = 0; x < 200; ++x)
            for (int c = 0; c < 3; ++c) {
                const int reduced =
                    (full.At(2 * x, 2 * y)[c] + full.At(2 * x + 1, 2 * y)[c] +
                     full.At(2 * x, 2 * y + 1)[c] + full.At(2 * x + 1, 2 * y + 1)[c] + 2) /
                    4;
                const int d = std::abs(reduced - thumb.At(x, y)[c]);
                total += d;
                rowSums[y] += d;
                columnSums[x] += d;
            }
    for (int y = 0; y < 125; ++y)
        worstRow = std::max(worstRow, int(rowSums[y] / (200 * 3)));
    for (int x = 0; x < 200; ++x)
        worstColumn = std::max(worstColumn, int(columnSums[x] / (125 * 3)));
    // Measured: a mean of 6 and 17 for the worst row. A shift of one
    // pixel gives a mean of 34 and a white band of two rows 140 on a row.
    EXPECT_LT(total / (200 * 125 * 3), 12);
    EXPECT_LT(worstRow, 40);
    EXPECT_LT(worstColumn, 40);
}

TEST_F(ThumbnailCommand, EveryStoredFormGivesTheSamePicture) {
    const Bytes body = RichBody();
    const std::vector<std::string> recordings = {
        Write("plain.stk", body),
        Write("packed.stk", fixture::Packed(body)),
        Write("leading.stk", fixture::LeadingBlock(Bytes(300, 7), fixture::Packed(body))),
        Write("leading-plain.stk", fixture::LeadingBlock(Bytes(5, 1), body)),
        Write("self-contained", fixture::Appended(Bytes(4000, 0x90), fixture::Packed(body))),
    };
    for (const std::string& recording : recordings) {
        const std::string out = recording + ".png";
        ASSERT_EQ(RunQuil({"thumbnail", recording, out, "160"}).status, 0) << recording;
        EXPECT_TRUE(SamePixels(ReadPng(out), ReadPng(recordings[0] + ".png"))) << recording;
    }
}

TEST_F(ThumbnailCommand, FailuresExitNonZeroWithOneLineAndWriteNothing) {
    const std::string page = Write("page.stk", RichBody());
    fixture::Header wrongSize;
    wrongSize.bodySize = 12345;
    const std::string junk = Write("junk.stk", Bytes(64, 'j'));
    const std::string damaged = Write("damaged.stk", TRecordingWriter(wrongSize).Body());
    // The loader refuses a page without area: there is nothing to scale.
    const std::string flat = Write("flat.stk", EmptyBody(400, 0));
    const std::string out = Path("out.png");
    struct TCase {
        std::vector<std::string> args;
        int status;
    };
    const TCase cases[] = {
        {{"thumbnail"}, 64},
        {{"thumbnail", page, out}, 64},
        {{"thumbnail", page, out, "128", "extra"}, 64},
        {{"thumbnail", page, out, "0"}, 64},
        {{"thumbnail", page, out, "1025"}, 64},
        {{"thumbnail", page, out, "128px"}, 64},
        {{"thumbnail", page, out, ""}, 64},
        {{"thumbnail", page, "", "128"}, 64},
        {{"thumbnail", page, out, "--size", "128"}, 64},
        {{"thumbnail", Path("missing.stk"), out, "128"}, 1},
        {{"thumbnail", damaged, out, "128"}, 2},
        {{"thumbnail", junk, out, "128"}, 3},
        {{"thumbnail", flat, out, "128"}, 3},
    };
    for (const TCase& c : cases) {
        std::string shown;
        for (const std::string& a : c.args)
            shown += "'" + a + "' ";
        const ToolRun run = RunQuil(c.args);
        EXPECT_EQ(run.status, c.status) << shown;
        EXPECT_EQ(run.err.rfind("quil: ", 0), 0u) << shown << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << shown << run.err;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_FALSE(fs::exists(out)) << shown;
    }
    EXPECT_EQ(folder.Entries(),
              (std::vector<std::string>{"damaged.stk", "flat.stk", "junk.stk", "page.stk"}));
}

TEST_F(ThumbnailCommand, AFailureKeepsAnEarlierThumbnail) {
    const std::string out = Path("out.png");
    testing::WriteText(out, "an earlier thumbnail");
    const ToolRun run = RunQuil({"thumbnail", Write("junk.stk", Bytes(64, 'j')), out, "128"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(testing::ReadText(out), "an earlier thumbnail");
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"junk.stk", "out.png"}));
}

TEST_F(ThumbnailCommand, RefusesToWriteOverTheRecording) {
    const std::string page = Write("page.stk", RichBody());
    fs::create_directory(folder / "sub");
    fs::create_symlink(page, folder / "link.png");
    for (const std::string& out : {page, Path("sub/../page.stk"), Path("link.png")}) {
        const ToolRun run = RunQuil({"thumbnail", page, out, "64"});
        EXPECT_EQ(run.status, 64) << out;
        EXPECT_EQ(run.err.rfind("quil: ", 0), 0u) << run.err;
    }
    EXPECT_EQ(testing::ReadWholeFile(page), RichBody());
}

TEST_F(ThumbnailCommand, HelpGoesToStdout) {
    const ToolRun run = RunQuil({"thumbnail", "--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("Usage: quil thumbnail FILE OUT SIZE", 0), 0u);
}

}  // namespace
}  // namespace quil::test
