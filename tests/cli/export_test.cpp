#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include <zlib.h>

#include "export/svg_document.h"
#include "model/load_recording.h"
#include "picture_decoders.h"
#include "recording_writer.h"
#include "run_tool.h"
#include "test_folder.h"

namespace quil {
namespace {

namespace fs = std::filesystem;
using fixture::Generation;
using fixture::Header;
using fixture::Point;
using fixture::TRecordingWriter;
using testing::DecodePng;
using testing::ReadPng;
using testing::ReadText;
using testing::SamePixels;
using testing::TRgbaPicture;
using testing::TTestFolder;
using testing::WriteText;

using TRun = test::ToolRun;

// Runs quil with the arguments, written as one line of words (no argument
// holds a space), and collects its exit status and output.
TRun Quil(const std::string& arguments) {
    std::istringstream line(arguments);
    return test::RunQuil(
        {std::istream_iterator<std::string>(line), std::istream_iterator<std::string>()});
}

// Two strokes in different colours and, when asked, a grid; the first
// stroke is red on the left, the second blue on the right.
fixture::Bytes TwoStrokeBody(bool withGrid, int strokes = 2, bool withBackground = false) {
    Header header;
    if (withGrid) {
        header.gridCellSize = 100 | 100u << 16;
        header.gridCells = 10 | 7u << 16;
    }
    TRecordingWriter w(header);
    if (withBackground) w.Background(2, 1, fixture::EncodeBmp(fixture::PatternPicture(8, 8)));
    if (strokes >= 1) w.Stroke({{150, 300, 6}, {250, 350, 6}, {350, 300, 0}}, {.color = 0x0000C0});
    if (strokes >= 2) w.Stroke({{650, 300, 6}, {750, 350, 6}, {850, 300, 0}}, {.color = 0xC00000});
    return w.Body();
}

int CountPixels(const TRgbaPicture& p, bool (*test)(const uint8_t*)) {
    int n = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            n += test(p.At(x, y)) ? 1 : 0;
    return n;
}

bool IsWhite(const uint8_t* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }
// Grid lines are pink (255, 189, 189) over white: full red and equal green
// and blue, however much of the pixel they cover. The strokes' colours
// never have full red.
bool IsGridPink(const uint8_t* p) { return p[0] == 255 && p[1] == p[2] && p[1] < 250; }

class QuilExport : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fixture::WriteFile(folder / "page.stk", TwoStrokeBody(false)));
        ASSERT_TRUE(fixture::WriteFile(folder / "grid.stk", TwoStrokeBody(true)));
    }
    std::string Path(const std::string& name) const { return (folder / name).string(); }

    TTestFolder folder;
};

TEST_F(QuilExport, UsageErrorsExit64AndWriteNothing) {
    const std::string page = Path("page.stk");
    const char* cases[] = {
        "",
        " -o ",
        " --type png",
        " -o OUT.gif",
        " -o OUT.png --type gif",
        " -o OUT.png --position two",
        " -o OUT.png --position 1x",
        " -o OUT.png --grid maybe",
        " -o OUT.png --background 1",
        " -o OUT.png --size 100",
        " -o OUT.png --size 0x10",
        " -o OUT.png --size -5x10",
        " -o OUT.png --fit",
        " -o OUT.png --quality best",
    };
    for (const char* c : cases) {
        std::string args = std::string(c);
        const size_t at = args.find("OUT");
        if (at != std::string::npos) args.replace(at, 3, Path("out"));
        const TRun run = Quil("export " + page + args);
        EXPECT_EQ(run.status, 64) << c;
        EXPECT_EQ(run.err.rfind("quil: ", 0), 0u) << c << ": " << run.err;
        EXPECT_EQ(run.out, "") << c;
    }
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"grid.stk", "page.stk"}));
}

TEST_F(QuilExport, HelpGoesToStdout) {
    const TRun run = Quil("export --help");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Usage: quil export FILE -o OUT"), std::string::npos);
}

TEST_F(QuilExport, RecordingThatDoesNotLoadExitsWithItsCode) {
    const TRun missing = Quil("export " + Path("missing.stk") + " -o " + Path("out.png"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "quil: " + Path("missing.stk") + ": cannot open the file (code 1)\n");
    WriteText(folder / "junk.stk", std::string(64, 'j'));
    for (const char* type : {"png", "svgz"}) {
        const TRun junk =
            Quil("export " + Path("junk.stk") + " -o " + Path("out") + " --type " + type);
        EXPECT_GE(junk.status, 1) << type;
        EXPECT_LE(junk.status, 6) << type;
    }
    EXPECT_FALSE(fs::exists(folder / "out.png"));
    EXPECT_FALSE(fs::exists(folder / "out"));
}

TEST_F(QuilExport, TypeComesFromTheExtensionInAnyCaseOrFromTypeOption) {
    ASSERT_EQ(Quil("export " + Path("page.stk") + " -o " + Path("a.PNG")).status, 0);
    EXPECT_EQ(testing::ReadPngHeader(testing::ReadWholeFile(Path("a.PNG"))).colorType, 2);
    ASSERT_EQ(Quil("export " + Path("page.stk") + " -o " + Path("b.Jpeg")).status, 0);
    const auto jpeg = testing::ReadWholeFile(Path("b.Jpeg"));
    ASSERT_GT(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    // The name is used as given: no extension is added or changed.
    ASSERT_EQ(Quil("export " + Path("page.stk") + " -o " + Path("c.data") + " --type bmp").status,
              0);
    EXPECT_EQ(fs::file_size(folder / "c.data"), 2202878u);
    EXPECT_EQ(ReadText(folder / "c.data").substr(0, 2), "BM");
}

TEST_F(QuilExport, PositionShowsOnlyTheElementsStarted) {
    ASSERT_TRUE(fixture::WriteFile(folder / "first.stk", TwoStrokeBody(false, 1)));
    ASSERT_EQ(
        Quil("export " + Path("page.stk") + " -o " + Path("at1.png") + " --position 1").status, 0);
    ASSERT_EQ(Quil("export " + Path("first.stk") + " -o " + Path("first.png")).status, 0);
    ASSERT_EQ(
        Quil("export " + Path("page.stk") + " -o " + Path("at0.png") + " --position -3").status, 0);
    ASSERT_EQ(
        Quil("export " + Path("page.stk") + " -o " + Path("all.png") + " --position 99").status, 0);
    ASSERT_EQ(Quil("export " + Path("page.stk") + " -o " + Path("default.png")).status, 0);
    // Position 1 is the page of a recording that holds only the first stroke.
    EXPECT_TRUE(SamePixels(ReadPng(folder / "at1.png"), ReadPng(folder / "first.png")));
    const TRgbaPicture empty = ReadPng(folder / "at0.png");
    EXPECT_EQ(CountPixels(empty, IsWhite), 1022 * 718);
    EXPECT_TRUE(SamePixels(ReadPng(folder / "all.png"), ReadPng(folder / "default.png")));
    EXPECT_FALSE(SamePixels(ReadPng(folder / "all.png"), ReadPng(folder / "first.png")));
}

TEST_F(QuilExport, GridOptionDecidesWhetherTheGridIsDrawn) {
    ASSERT_EQ(Quil("export " + Path("grid.stk") + " -o " + Path("on.png")).status, 0);
    ASSERT_EQ(Quil("export " + Path("grid.stk") + " -o " + Path("off.png") + " --grid off").status,
              0);
    ASSERT_EQ(Quil("export " + Path("page.stk") + " -o " + Path("plain.png")).status, 0);
    EXPECT_GT(CountPixels(ReadPng(folder / "on.png"), IsGridPink), 1000);
    EXPECT_TRUE(SamePixels(ReadPng(folder / "off.png"), ReadPng(folder / "plain.png")));
}

TEST_F(QuilExport, BackgroundOptionDecidesWhetherTheBackgroundIsDrawn) {
    ASSERT_TRUE(fixture::WriteFile(folder / "back.stk", TwoStrokeBody(false, 2, true)));
    ASSERT_EQ(Quil("export " + Path("back.stk") + " -o " + Path("on.png")).status, 0);
    ASSERT_EQ(
        Quil("export " + Path("back.stk") + " -o " + Path("off.png") + " --background off").status,
        0);
    ASSERT_EQ(Quil("export " + Path("page.stk") + " -o " + Path("plain.png")).status, 0);
    EXPECT_TRUE(SamePixels(ReadPng(folder / "off.png"), ReadPng(folder / "plain.png")));
    EXPECT_LT(CountPixels(ReadPng(folder / "on.png"), IsWhite), 1022 * 718 / 2);
}

TEST_F(QuilExport, SizeAndFit) {
    ASSERT_EQ(
        Quil("export " + Path("page.stk") + " -o " + Path("half.png") + " --size 511x359").status,
        0);
    const TRgbaPicture half = ReadPng(folder / "half.png");
    EXPECT_EQ(half.width, 511);
    EXPECT_EQ(half.height, 359);
    // A wide target keeps the page's aspect: white margins left and right.
    ASSERT_EQ(
        Quil("export " + Path("grid.stk") + " -o " + Path("wide.png") + " --size 2044x359 --fit")
            .status,
        0);
    const TRgbaPicture wide = ReadPng(folder / "wide.png");
    ASSERT_EQ(wide.width, 2044);
    for (int y = 0; y < wide.height; y += 7)
        for (int x : {0, 100, 500, 1540, 1943, 2043})
            ASSERT_TRUE(IsWhite(wide.At(x, y))) << x << "," << y;
    EXPECT_GT(CountPixels(wide, IsGridPink), 100);
}

TEST_F(QuilExport, SvgzHoldsTheWholeRecordingWhateverThePosition) {
    ASSERT_EQ(
        Quil("export " + Path("grid.stk") + " -o " + Path("page.svgz") + " --position 0 --grid off")
            .status,
        0);
    TPenReplayWT document(1022, 718);
    ASSERT_EQ(LoadRecording(document, folder / "grid.stk"), 0);
    TSvgStream expected;
    WriteSvgDocument(document, expected);
    gzFile file = gzopen((folder / "page.svgz").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::string text(expected.Text().size() + 16, '\0');
    const int n = gzread(file, text.data(), unsigned(text.size()));
    gzclose(file);
    text.resize(size_t(std::max(n, 0)));
    EXPECT_EQ(text, expected.Text());
    EXPECT_NE(text.find("<g stroke=\"#FFBDBD\">"), std::string::npos);
    EXPECT_NE(text.find("fill:#C00000"), std::string::npos);
    EXPECT_NE(text.find("fill:#0000C0"), std::string::npos);
}

TEST_F(QuilExport, OutputThatCannotBeWrittenExits70AndKeepsTheOldFile) {
    fs::create_directory(folder / "taken.png");
    for (const char* type : {"png", "svgz"}) {
        const TRun run =
            Quil("export " + Path("page.stk") + " -o " + Path("taken.png") + " --type " + type);
        EXPECT_EQ(run.status, 70) << type;
        EXPECT_EQ(run.err.rfind("quil: " + Path("page.stk") + ": ", 0), 0u) << run.err;
        EXPECT_TRUE(fs::is_directory(folder / "taken.png"));
    }
    EXPECT_EQ(Quil("export " + Path("page.stk") + " -o " + Path("no/such/dir/out.png")).status, 70);
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"grid.stk", "page.stk", "taken.png"}));
}

TEST_F(QuilExport, PageTooLargeToRenderExits7) {
    Header header;
    header.pageWidth = 32000;
    header.pageHeight = 32000;
    TRecordingWriter w(header);
    w.Stroke({{10, 10, 2}, {20, 20, 0}});
    ASSERT_TRUE(fixture::WriteFile(folder / "huge.stk", w.Body()));
    WriteText(folder / "out.png", "old");
    const TRun run = Quil("export " + Path("huge.stk") + " -o " + Path("out.png"));
    EXPECT_EQ(run.status, 7);
    EXPECT_EQ(run.err,
              "quil: " + Path("huge.stk") + ": the page is too large at this zoom or size\n");
    EXPECT_EQ(ReadText(folder / "out.png"), "old");
    EXPECT_EQ(Quil("export " + Path("page.stk") + " -o " + Path("out.png") + " --size 40000x40000")
                  .status,
              7);
    EXPECT_EQ(ReadText(folder / "out.png"), "old");
    // The vector drawing of the same page needs no picture.
    EXPECT_EQ(Quil("export " + Path("huge.stk") + " -o " + Path("huge.svgz")).status, 0);
}

}  // namespace
}  // namespace quil
