#include <gtest/gtest.h>

#include "export/png_writer.h"
#include "export/svg_outline.h"
#include "export/svg_page.h"
#include "picture_decoders.h"
#include "svg_test_support.h"

namespace quil {
namespace {

using testing::DecodeBase64;
using testing::DecodePng;
using testing::EmbeddedPngText;
using testing::MakePatternPicture;
using testing::ReadPngHeader;
using testing::TRgbaPicture;

std::string Hull(float x0, float y0, float r0, float x1, float y1, float r1) {
    TSvgStream out;
    WriteHull(out, x0, y0, r0, x1, y1, r1);
    return out.Text();
}

TEST(SvgOutline, DiscIsInTenthsTruncated) {
    TSvgStream out;
    WriteDisc(out, 10.56f, -20.25f, 2.0f);
    EXPECT_EQ(out.Text(), "\t<circle cx=\"105\" cy=\"-202\" r=\"20\"/>\r\n");
}

TEST(SvgOutline, HullJoinsTheOuterTangentPoints) {
    // Equal radii 5 from (0,0) to (3,4): the tangent points lie 5 units
    // either side of the centre line, perpendicular to the direction (3,4)/5.
    EXPECT_EQ(Hull(0, 0, 5, 3, 4, 5), "\t<polygon points=\"-40,30 -10,70 70,10 40,-30\"/>\r\n"
                                      "\t<circle cx=\"30\" cy=\"40\" r=\"50\"/>\r\n");
}

TEST(SvgOutline, HullTapersToTheLiftingPoint) {
    // From radius 4 at (0,0) to radius 0 at (16,0): the tangents from the
    // point (16,0) touch the disc at (1, +-sqrt(15)).
    EXPECT_EQ(Hull(0, 0, 4, 16, 0, 0), "\t<polygon points=\"10,38 160,0 160,0 10,-38\"/>\r\n"
                                       "\t<circle cx=\"160\" cy=\"0\" r=\"0\"/>\r\n");
}

TEST(SvgOutline, ContainedDiscWritesOnlyTheNewDisc) {
    EXPECT_EQ(Hull(0, 0, 5, 1, 0, 1), "\t<circle cx=\"10\" cy=\"0\" r=\"10\"/>\r\n");
    EXPECT_EQ(Hull(0, 0, 1, 1, 0, 5), "\t<circle cx=\"10\" cy=\"0\" r=\"50\"/>\r\n");
}

TEST(SvgOutline, CoincidentPointsGiveADegenerateHullWithoutNaN) {
    EXPECT_EQ(Hull(2, 3, 1, 2, 3, 1), "\t<polygon points=\"20,30 20,30 20,30 20,30\"/>\r\n"
                                      "\t<circle cx=\"20\" cy=\"30\" r=\"10\"/>\r\n");
}

std::string Grid(uint32_t cellSize, uint32_t origin, uint32_t cells, uint32_t subdivisions) {
    TSvgStream out;
    WriteSvgGrid(out, cellSize, origin, cells, subdivisions);
    EXPECT_FALSE(out.Failed());
    return out.Text();
}

constexpr uint32_t Pair(int low, int high) { return uint32_t(low & 0xFFFF) | uint32_t(high) << 16; }

std::string Line(int x1, int y1, int x2, int y2, int width) {
    return "\t<line x1=\"" + std::to_string(x1) + "\" y1=\"" + std::to_string(y1) + "\" x2=\"" +
           std::to_string(x2) + "\" y2=\"" + std::to_string(y2) + "\" stroke-width=\"" +
           std::to_string(width) + "\"/>\r\n";
}

TEST(SvgGrid, MajorLinesOfTwoColumnsAndOneRow) {
    EXPECT_EQ(Grid(Pair(32, 32), Pair(10, 20), Pair(2, 1), 0),
              "<g stroke=\"#FFBDBD\">\r\n" + Line(100, 200, 100, 520, 10) +
                  Line(420, 200, 420, 520, 10) + Line(740, 200, 740, 520, 10) +
                  Line(100, 200, 740, 200, 10) + Line(100, 520, 740, 520, 10) + "</g>\r\n");
}

TEST(SvgGrid, SubdivisionsAcrossAddMinorLinesAndWidenTheMajorOnes) {
    EXPECT_EQ(Grid(Pair(32, 32), Pair(10, 20), Pair(2, 1), Pair(4, 0)),
              "<g stroke=\"#FFBDBD\">\r\n" + Line(100, 200, 100, 520, 60) +
                  Line(420, 200, 420, 520, 60) + Line(740, 200, 740, 520, 60) +
                  Line(100, 200, 740, 200, 60) + Line(100, 520, 740, 520, 60) +
                  Line(180, 200, 180, 520, 10) + Line(260, 200, 260, 520, 10) +
                  Line(340, 200, 340, 520, 10) + Line(500, 200, 500, 520, 10) +
                  Line(580, 200, 580, 520, 10) + Line(660, 200, 660, 520, 10) + "</g>\r\n");
}

TEST(SvgGrid, DegenerateWordsAreWrittenAsTheyAre) {
    // No columns: one vertical line and horizontal lines of zero length.
    EXPECT_EQ(Grid(Pair(32, 32), Pair(10, 20), Pair(0, 1), 0),
              "<g stroke=\"#FFBDBD\">\r\n" + Line(100, 200, 100, 520, 10) +
                  Line(100, 200, 100, 200, 10) + Line(100, 520, 100, 520, 10) + "</g>\r\n");
    // A negative row count (signed high half): no horizontal lines, and the
    // vertical range is put in order.
    EXPECT_EQ(Grid(Pair(32, 32), Pair(10, 20), Pair(1, -1), 0),
              "<g stroke=\"#FFBDBD\">\r\n" + Line(100, -120, 100, 200, 10) +
                  Line(420, -120, 420, 200, 10) + "</g>\r\n");
    // Subdivision 1 draws no minor lines and keeps the narrow major lines.
    EXPECT_EQ(Grid(Pair(32, 32), 0, Pair(1, 0), Pair(1, 1)),
              "<g stroke=\"#FFBDBD\">\r\n" + Line(0, 0, 0, 0, 10) + Line(320, 0, 320, 0, 10) +
                  Line(0, 0, 320, 0, 10) + "</g>\r\n");
    TSvgStream none;
    WriteSvgGrid(none, 0, Pair(10, 20), Pair(2, 1), 0);
    EXPECT_EQ(none.Text(), "");
}

TEST(SvgGrid, GridWordsAskingForBillionsOfLinesFailTheDrawing) {
    TSvgStream out;
    WriteSvgGrid(out, Pair(1, 1), 0, Pair(0xFFFF, 0x7FFF), Pair(0xFFFF, 0x7FFF));
    EXPECT_TRUE(out.Failed());
    EXPECT_EQ(out.Text(), "");
}

std::string Background(int mode, int placement, const TBitmap& picture) {
    TSvgStream out;
    WriteSvgBackground(out, 1022, 718, mode, placement, picture);
    EXPECT_FALSE(out.Failed());
    EXPECT_TRUE(testing::OnlyCrLfLineEnds(out.Text()));
    return out.Text();
}

std::string HeadOf(const std::string& text) { return text.substr(0, text.find("xlink:href")); }

TEST(SvgBackground, PlacementsGiveThePictureRectangle) {
    TBitmap wide;
    ASSERT_TRUE(wide.Create(256, 128));
    TBitmap longer;
    ASSERT_TRUE(longer.Create(1101, 100));
    EXPECT_EQ(HeadOf(Background(2, 0, wide)),
              "<image x=\"0\" y=\"1030\" width=\"10220\" height=\"5110\" ");
    EXPECT_EQ(HeadOf(Background(2, 1, wide)),
              "<image x=\"0\" y=\"0\" width=\"10220\" height=\"7180\" ");
    EXPECT_EQ(HeadOf(Background(2, 2, longer)),
              "<image x=\"-390\" y=\"3090\" width=\"11010\" height=\"1000\" ");
    EXPECT_EQ(HeadOf(Background(2, 3, wide)),
              "<image x=\"0\" y=\"0\" width=\"2560\" height=\"1280\" ");
    EXPECT_EQ(HeadOf(Background(2, 9, wide)),
              "<image x=\"0\" y=\"0\" width=\"2560\" height=\"1280\" ");
    // Fit of a tall picture: scaled by the page height and centred across.
    TBitmap tall;
    ASSERT_TRUE(tall.Create(100, 359));
    EXPECT_EQ(HeadOf(Background(2, 0, tall)),
              "<image x=\"4110\" y=\"0\" width=\"2000\" height=\"7180\" ");
}

TEST(SvgBackground, PlacedPictureIsTheUnchangedRgbPng) {
    const TBitmap picture = MakePatternPicture(19, 7);
    const std::string text = Background(2, 3, picture);
    EXPECT_EQ(text.substr(text.size() - 5), "\"/>\r\n");
    const std::vector<uint8_t> png = DecodeBase64(EmbeddedPngText(text));
    EXPECT_EQ(png, EncodePngRgb(picture));
    EXPECT_EQ(ReadPngHeader(png).colorType, 2);
    TRgbaPicture decoded;
    ASSERT_TRUE(DecodePng(png, decoded));
    EXPECT_EQ(decoded.At(18, 6)[0], picture.ScanLine(6)[3 * 18 + 2]);
}

TEST(SvgBackground, TiledPictureFillsThePageWithAPattern) {
    TBitmap tile;
    ASSERT_TRUE(tile.Create(40, 30));
    const std::string text = Background(1, 0, tile);
    const std::string base64 = EmbeddedPngText(text);
    EXPECT_EQ(
        text,
        "<defs><pattern id=\"GndImage\" patternUnits=\"userSpaceOnUse\" x=\"0\" y=\"0\" "
        "width=\"400\" height=\"300\" viewBox=\"0 0 400 300\">\r\n"
        "<image width=\"400\" height=\"300\" xlink:href=\"data:image/png;base64," +
            base64 +
            "\"/>\r\n</pattern></defs>\r\n"
            "<rect fill=\"url(#GndImage)\" stroke-width=\"0\" x=\"0\" y=\"0\" width=\"10220\" "
            "height=\"7180\"/>\r\n");
    EXPECT_EQ(DecodeBase64(base64), EncodePngRgb(tile));
}

TEST(SvgBackground, ModeZeroOrNoPictureWritesNothing) {
    TBitmap picture;
    ASSERT_TRUE(picture.Create(4, 4));
    EXPECT_EQ(Background(0, 0, picture), "");
    EXPECT_EQ(Background(2, 0, TBitmap()), "");
}

}  // namespace
}  // namespace quil
