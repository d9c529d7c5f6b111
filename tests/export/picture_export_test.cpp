#include <gtest/gtest.h>

#include <zlib.h>

#include "export/picture_export.h"
#include "export/svg_document.h"
#include "export_fixtures.h"
#include "picture_decoders.h"
#include "test_folder.h"

namespace quil {
namespace {

namespace fs = std::filesystem;
using fixture::Header;
using fixture::TRecordingWriter;
using testing::DecodeJpeg;
using testing::DecodePng;
using testing::ReadPng;
using testing::ReadText;
using testing::ReadWholeFile;
using testing::SamePixels;
using testing::TOpenPlayer;
using testing::TRgbaPicture;
using testing::TTestFolder;
using testing::WriteText;

// The pixels of a BMP file image of ours, top-down RGBA like the decoders.
TRgbaPicture ReadBmp(const fs::path& path) {
    const std::vector<uint8_t> f = ReadWholeFile(path.string());
    TRgbaPicture picture;
    if (f.size() < 54) return picture;
    picture.width = f[18] | f[19] << 8 | f[20] << 16 | f[21] << 24;
    picture.height = f[22] | f[23] << 8 | f[24] << 16 | f[25] << 24;
    const size_t stride = (size_t(picture.width) * 3 + 3) & ~size_t(3);
    if (f.size() != 54 + stride * size_t(picture.height)) return TRgbaPicture();
    picture.pixels.resize(size_t(picture.width) * picture.height * 4);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = &f[54 + size_t(picture.height - 1 - y) * stride + 3 * size_t(x)];
            uint8_t* q = &picture.pixels[(size_t(y) * picture.width + x) * 4];
            q[0] = p[2], q[1] = p[1], q[2] = p[0], q[3] = 255;
        }
    return picture;
}

TRgbaPicture FromBitmap(const TBitmap& bitmap) {
    TRgbaPicture picture;
    picture.width = bitmap.Width();
    picture.height = bitmap.Height();
    picture.pixels.resize(size_t(picture.width) * picture.height * 4);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = bitmap.ScanLine(y) + 3 * x;
            uint8_t* q = &picture.pixels[(size_t(y) * picture.width + x) * 4];
            q[0] = p[2], q[1] = p[1], q[2] = p[0], q[3] = 255;
        }
    return picture;
}

int InkPixels(const TRgbaPicture& p) {
    int n = 0;
    for (size_t i = 0; i < p.pixels.size(); i += 4)
        n += (p.pixels[i] & p.pixels[i + 1] & p.pixels[i + 2]) != 255;
    return n;
}

class TRecordingClipboard final : public IClipboard {
public:
    bool SetBitmap(const TBitmap& picture) override {
        held = FromBitmap(picture);
        return true;
    }
    TRgbaPicture held;
};

class PictureExport : public ::testing::Test {
protected:
    // A recording of `strokes` test strokes, with a grid when asked.
    fs::path Recording(const std::string& name, int strokes, bool grid = false) {
        Header header;
        if (grid) {
            header.gridCellSize = 64 | 64u << 16;
            header.gridOrigin = 20 | 30u << 16;
            header.gridCells = 15 | 10u << 16;
            header.gridSubdivisions = 2 | 2u << 16;
        }
        TRecordingWriter writer(header);
        testing::AddTestStrokes(writer, strokes);
        const fs::path path = folder / name;
        EXPECT_TRUE(fixture::WriteFile(path, writer.Body()));
        return path;
    }

    TTestFolder folder;
};

TEST_F(PictureExport, BitmapPngAndClipboardHoldTheSamePictureAndJpegIsClose) {
    TOpenPlayer player(Recording("page.stk", 6));
    ASSERT_EQ(player.openResult, 0);
    ASSERT_EQ(SaveBitmap(*player, folder / "page.bmp"), 1);
    ASSERT_EQ(SavePng(*player, folder / "page.png"), 1);
    ASSERT_EQ(SaveJpeg(*player, folder / "page.jpg"), 1);
    TRecordingClipboard clipboard;
    ASSERT_EQ(CopyToClipboard(*player, clipboard), 1);

    EXPECT_EQ(fs::file_size(folder / "page.bmp"), 2202878u);
    const TRgbaPicture png = ReadPng(folder / "page.png");
    EXPECT_EQ(png.width, 1022);
    EXPECT_EQ(png.height, 718);
    EXPECT_TRUE(SamePixels(ReadBmp(folder / "page.bmp"), png));
    EXPECT_TRUE(SamePixels(clipboard.held, png));
    EXPECT_GT(InkPixels(png), 2000);

    TRgbaPicture jpeg;
    ASSERT_TRUE(DecodeJpeg(ReadWholeFile((folder / "page.jpg").string()), jpeg));
    ASSERT_EQ(jpeg.width, 1022);
    long long error = 0;
    for (size_t i = 0; i < png.pixels.size(); ++i)
        error += std::abs(int(png.pixels[i]) - int(jpeg.pixels[i]));
    EXPECT_LT(double(error) / double(png.pixels.size()), 2.0) << "mean error per channel";
}

TEST_F(PictureExport, DuringReplayOnlyStartedElementsAreInThePicture) {
    TOpenPlayer earlier(Recording("two.stk", 2));
    TOpenPlayer player(Recording("three.stk", 3));
    ASSERT_EQ(player.openResult, 0);
    ASSERT_EQ(earlier.openResult, 0);
    // Replay from the start into the middle of the third stroke.
    ASSERT_EQ(player->Stop(), 1);
    ASSERT_EQ(player->Play(), 1);
    TManualTimer* replay = player.timers.WithInterval(33);
    ASSERT_NE(replay, nullptr);
    for (int i = 0; i < 200 && !(player->Position() == 3 && player->StrokeInProgress()); ++i)
        replay->Tick();
    ASSERT_EQ(player->Position(), 3);
    ASSERT_TRUE(player->StrokeInProgress());
    replay->Tick();
    const int position = player->Position();

    ASSERT_EQ(SavePng(*player, folder / "mid.png"), 1);
    ASSERT_EQ(SavePng(*earlier, folder / "two.png"), 1);
    EXPECT_TRUE(SamePixels(ReadPng(folder / "mid.png"), ReadPng(folder / "two.png")))
        << "the stroke being drawn must be left out";
    EXPECT_EQ(player->Position(), position);
    EXPECT_TRUE(player->StrokeInProgress());
}

TEST_F(PictureExport, GridOptionIsHonouredReverseAndQualityAreNot) {
    TOpenPlayer plain(Recording("plain.stk", 4));
    TOpenPlayer player(Recording("grid.stk", 4, true));
    ASSERT_EQ(player.openResult, 0);
    ASSERT_EQ(SavePng(*plain, folder / "plain.png"), 1);
    ASSERT_EQ(SavePng(*player, folder / "on.png"), 1);
    ASSERT_EQ(player->SetReverse(true), 1);
    ASSERT_EQ(player->SetQuality(0), 1);
    ASSERT_EQ(SavePng(*player, folder / "reverse_low.png"), 1);
    ASSERT_EQ(player->SetGrid(false), 1);
    ASSERT_EQ(SavePng(*player, folder / "off.png"), 1);

    EXPECT_TRUE(SamePixels(ReadPng(folder / "reverse_low.png"), ReadPng(folder / "on.png")));
    EXPECT_TRUE(SamePixels(ReadPng(folder / "off.png"), ReadPng(folder / "plain.png")));
    EXPECT_FALSE(SamePixels(ReadPng(folder / "on.png"), ReadPng(folder / "plain.png")));
}

TEST_F(PictureExport, BackgroundOptionIsHonoured) {
    TRecordingWriter writer(Header{});
    writer.Background(1, 0, fixture::EncodeBmp(fixture::PatternPicture(16, 12)));
    testing::AddTestStrokes(writer, 3);
    ASSERT_TRUE(fixture::WriteFile(folder / "background.stk", writer.Body()));
    TOpenPlayer player(folder / "background.stk");
    TOpenPlayer plain(Recording("plain.stk", 3));
    ASSERT_TRUE(player->HasBackground());
    ASSERT_EQ(SavePng(*player, folder / "on.png"), 1);
    ASSERT_EQ(player->SetBackground(false), 1);
    ASSERT_EQ(SavePng(*player, folder / "off.png"), 1);
    ASSERT_EQ(SavePng(*plain, folder / "plain.png"), 1);
    EXPECT_TRUE(SamePixels(ReadPng(folder / "off.png"), ReadPng(folder / "plain.png")));
    EXPECT_GT(InkPixels(ReadPng(folder / "on.png")), 1022 * 718 / 2) << "the tiles cover the page";
}

TEST_F(PictureExport, SvgzHoldsTheWholeRecordingAtAnyPosition) {
    TOpenPlayer player(Recording("page.stk", 5, true));
    ASSERT_EQ(player->GoTo(1, false), 1);
    ASSERT_EQ(player->SetGrid(false), 1);
    ASSERT_EQ(SaveSvgz(*player, folder / "page.svgz"), 1);
    TSvgStream expected;
    WriteSvgDocument(*player->Document(), expected);
    gzFile file = gzopen((folder / "page.svgz").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::string text(expected.Text().size() + 1, '\0');
    const int n = gzread(file, text.data(), unsigned(text.size()));
    gzclose(file);
    EXPECT_EQ(text.substr(0, size_t(std::max(n, 0))), expected.Text());
    EXPECT_NE(expected.Text().find("<g stroke=\"#FFBDBD\">"), std::string::npos);
    EXPECT_EQ(player->Position(), 1);
}

// The tool's road (a document, a position and the options) and the
// window's (the player at that position with those options) give one
// picture.
TEST_F(PictureExport, ADocumentAtAPositionExportsWhatThePlayerThereExports) {
    TOpenPlayer player(Recording("page.stk", 6, true));
    ASSERT_EQ(player.openResult, 0);
    const TPenReplayWT& document = *player->Document();
    struct Case {
        int position;
        bool grid;
    } cases[] = {{6, true}, {3, true}, {3, false}, {0, true}};
    for (const Case& c : cases) {
        ASSERT_EQ(player->GoTo(c.position, false), 1);
        ASSERT_EQ(player->SetGrid(c.grid), 1);
        ASSERT_EQ(SavePng(*player, folder / "player.png"), 1);
        ASSERT_EQ(ExportImage(document, c.position, {true, c.grid}, TImageType::Png,
                              folder / "document.png", 1022, 718, true),
                  TExportStatus::Done);
        EXPECT_TRUE(SamePixels(ReadPng(folder / "player.png"), ReadPng(folder / "document.png")))
            << "position " << c.position << " grid " << c.grid;
    }
}

TEST_F(PictureExport, TheDrawingIsNoPictureType) {
    TBitmap picture;
    ASSERT_TRUE(picture.Create(20, 10));
    WriteText(folder / "page.svgz", "old");
    EXPECT_EQ(SaveGraphicToFile(picture, TImageType::Svgz, folder / "page.svgz"),
              TExportStatus::CannotEncode);
    EXPECT_EQ(ReadText(folder / "page.svgz"), "old");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.svgz"});
}

TEST_F(PictureExport, ImageFileCommandWritesTheChosenType) {
    TOpenPlayer player(Recording("page.stk", 2));
    const fs::path written = ImageFileName(folder / "scan.png", 1);
    ASSERT_EQ(SaveImageFile(*player, ImageTypeForFilter(1), written), 1);
    EXPECT_EQ(written.filename(), "scan.bmp");
    EXPECT_EQ(ReadText(written).substr(0, 2), "BM");
    EXPECT_FALSE(fs::exists(folder / "scan.png"));
}

TEST_F(PictureExport, FailedWriteKeepsTheOldFileAndNothingIsWrittenWithoutARecording) {
    TOpenPlayer player(Recording("page.stk", 2));
    fs::create_directory(folder / "dir.png");
    EXPECT_EQ(SavePng(*player, folder / "dir.png"), 0);
    EXPECT_EQ(SaveBitmap(*player, folder / "dir.png"), 0);
    EXPECT_EQ(SaveSvgz(*player, folder / "dir.png"), 0);
    EXPECT_TRUE(fs::is_directory(folder / "dir.png"));
    EXPECT_EQ(SavePng(*player, fs::path()), 0);
    WriteText(folder / "old.png", "old");
    EXPECT_EQ(SaveJpeg(*player, folder / "missing" / "old.png"), 0);
    EXPECT_EQ(ReadText(folder / "old.png"), "old");

    TManualTimerFactory timers;
    TQuil3Reader empty(timers, nullptr, 1022, 718);
    TRecordingClipboard clipboard;
    EXPECT_EQ(SavePng(empty, folder / "none.png"), 0);
    EXPECT_EQ(SaveSvgz(empty, folder / "none.svgz"), 0);
    EXPECT_EQ(CopyToClipboard(empty, clipboard), 0);
    EXPECT_FALSE(fs::exists(folder / "none.png"));
    EXPECT_FALSE(fs::exists(folder / "none.svgz"));
}

TEST_F(PictureExport, PageTooLargeForMemoryFailsCleanly) {
    Header header;
    header.pageWidth = 32000;
    header.pageHeight = 32000;
    TRecordingWriter writer(header);
    writer.Stroke({{10, 10, 2}, {20, 20, 0}});
    ASSERT_TRUE(fixture::WriteFile(folder / "huge.stk", writer.Body()));
    TOpenPlayer player(folder / "huge.stk", 100, 100);
    ASSERT_EQ(player.openResult, 0);
    WriteText(folder / "huge.png", "old");
    EXPECT_EQ(SavePng(*player, folder / "huge.png"), 0);
    TRecordingClipboard clipboard;
    EXPECT_EQ(CopyToClipboard(*player, clipboard), 0);
    EXPECT_EQ(ReadText(folder / "huge.png"), "old");
}

}  // namespace
}  // namespace quil
