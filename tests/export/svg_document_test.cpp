#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>

#include "export/png_writer.h"
#include "export/svg_document.h"
#include "model/document.h"
#include "picture_decoders.h"
#include "svg_test_support.h"

namespace quil {
namespace {

using testing::DecodeBase64;
using testing::DecodePng;
using testing::EmbeddedPngText;
using testing::TRgbaPicture;

const std::string kHeader =
    "<?xml version=\"1.0\" standalone=\"no\"?>\r\n"
    "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
    "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\r\n"
    "<svg width=\"1022px\" height=\"718px\" viewBox=\"0 0 10220 7180\" "
    "xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
    "version=\"1.1\">\r\n";

std::string Svg(const TPenReplayWT& document) {
    TSvgStream out;
    WriteSvgDocument(document, out);
    EXPECT_FALSE(out.Failed());
    EXPECT_TRUE(testing::OnlyCrLfLineEnds(out.Text()));
    return out.Text();
}

// Strokes of the given points; each stroke ends with its own point list.
void AddStroke(TPenReplayWT& document, std::initializer_list<std::array<float, 3>> points,
               uint32_t color = 0, uint32_t opacity = 255) {
    document.penColor = color;
    document.penOpacity = opacity;
    for (const auto& p : points)
        document.AddPoint(p[0], p[1], p[2]);
    document.strokeOpen = false;
}

const char* kBlackGroup =
    "<g style=\"fill:#000000;opacity:1.00;stroke:#000000;stroke-width:0\">\r\n";

TEST(SvgDocument, EmptyDocumentIsTheHeaderAndTheEnd) {
    TPenReplayWT document(1022, 718);
    EXPECT_EQ(Svg(document), kHeader + "</svg>");
}

TEST(SvgDocument, OnePointStrokeIsOneDisc) {
    TPenReplayWT document(1022, 718);
    AddStroke(document, {{12.5f, 40.0f, 2.25f}});
    EXPECT_EQ(Svg(document), kHeader + kBlackGroup +
                                 "\t<circle cx=\"125\" cy=\"400\" r=\"22\"/>\r\n</g>\r\n</svg>");
}

TEST(SvgDocument, StrokeGroupCarriesColourAndOpacity) {
    struct Case {
        uint32_t color;
        uint32_t opacity;
        const char* group;
    };
    const Case cases[] = {
        {0x00FF8000, 255, "<g style=\"fill:#0080FF;opacity:1.00;stroke:#0080FF;stroke-width:0\">"},
        {0x00FF8000, 128, "<g style=\"fill:#0080FF;opacity:0.50;stroke:#0080FF;stroke-width:0\">"},
        {0x000000FF, 0, "<g style=\"fill:#FF0000;opacity:0.00;stroke:#FF0000;stroke-width:0\">"},
    };
    for (const Case& c : cases) {
        TPenReplayWT document(1022, 718);
        AddStroke(document, {{1, 1, 1}}, c.color, c.opacity);
        const std::string text = Svg(document);
        EXPECT_EQ(text.substr(kHeader.size(), text.find("\r\n", kHeader.size()) - kHeader.size()),
                  c.group)
            << std::hex << c.color << " " << std::dec << c.opacity;
    }
}

TEST(SvgDocument, PointsCloserThanOneUnitAreMerged) {
    TPenReplayWT document(1022, 718);
    AddStroke(document,
              {{0.0f, 10.0f, 3.0f}, {0.4f, 10.0f, 3.0f}, {0.8f, 10.0f, 3.0f}, {1.2f, 10.0f, 3.0f}});
    EXPECT_EQ(Svg(document), kHeader + kBlackGroup +
                                 "\t<circle cx=\"0\" cy=\"100\" r=\"30\"/>\r\n"
                                 "\t<polygon points=\"0,130 12,130 12,70 0,70\"/>\r\n"
                                 "\t<circle cx=\"12\" cy=\"100\" r=\"30\"/>\r\n"
                                 "</g>\r\n</svg>");
}

TEST(SvgDocument, LiftingPointIsAlwaysWrittenAndEndsInADiscOfRadiusZero) {
    TPenReplayWT document(1022, 718);
    // 0.3 is merged away; the lifting point 0.6 is written although the
    // pen moved less than a unit, and lies inside the first disc.
    AddStroke(document, {{0.0f, 0.0f, 1.0f}, {0.3f, 0.0f, 1.0f}, {0.6f, 0.0f, 0.0f}});
    // A longer stroke tapers to its lifting point.
    AddStroke(document, {{0.0f, 0.0f, 4.0f}, {16.0f, 0.0f, 0.0f}});
    EXPECT_EQ(Svg(document), kHeader + kBlackGroup +
                                 "\t<circle cx=\"0\" cy=\"0\" r=\"10\"/>\r\n"
                                 "\t<circle cx=\"6\" cy=\"0\" r=\"0\"/>\r\n"
                                 "</g>\r\n" +
                                 kBlackGroup +
                                 "\t<circle cx=\"0\" cy=\"0\" r=\"40\"/>\r\n"
                                 "\t<polygon points=\"10,38 160,0 160,0 10,-38\"/>\r\n"
                                 "\t<circle cx=\"160\" cy=\"0\" r=\"0\"/>\r\n"
                                 "</g>\r\n</svg>");
}

TEST(SvgDocument, EraserStrokeIsWrittenInItsStoredColour) {
    TPenReplayWT document(1022, 718);
    document.penEraser = 1;
    AddStroke(document, {{1, 1, 1}}, 0x00102030, 255);
    EXPECT_NE(Svg(document).find("fill:#302010;opacity:1.00;stroke:#302010"), std::string::npos);
}

TEST(SvgDocument, StampIsAnRgbaPngWithWhiteTransparent) {
    TPenReplayWT document(1022, 718);
    TBitmap picture;
    ASSERT_TRUE(picture.Create(3, 2));
    picture.ScanLine(1)[0] = 0;  // one blue-less pixel, the rest white
    document.AddStamp(0, std::move(picture), 10.25f, 20.0f, 30.5f, 40.0f);
    const std::string text = Svg(document);
    const std::string base64 = EmbeddedPngText(text);
    EXPECT_EQ(text, kHeader +
                        "<image x=\"102\" y=\"200\" width=\"305\" height=\"400\" "
                        "xlink:href=\"data:image/png;base64," +
                        base64 + "\"/>\r\n</svg>");
    TRgbaPicture decoded;
    ASSERT_TRUE(DecodePng(DecodeBase64(base64), decoded));
    EXPECT_EQ(testing::ReadPngHeader(DecodeBase64(base64)).colorType, 6);
    EXPECT_EQ(decoded.At(0, 1)[3], 255);
    EXPECT_EQ(decoded.At(0, 1)[2], 0);
    EXPECT_EQ(decoded.At(1, 1)[3], 0);
    EXPECT_EQ(decoded.At(0, 0)[3], 0);
}

TEST(SvgDocument, BackgroundThenGridThenElementsWhateverTheReplayPosition) {
    TPenReplayWT document(1022, 718);
    document.background = std::make_unique<TBitmap>();
    ASSERT_TRUE(document.background->Create(256, 128));
    document.backgroundMode = 2;
    document.backgroundPlacement = 0;
    document.gridCellSize = 32 | 32u << 16;
    document.gridOrigin = 10 | 20u << 16;
    document.gridCells = 2 | 1u << 16;
    AddStroke(document, {{1, 1, 1}, {5, 1, 1}});
    AddStroke(document, {{7, 7, 1}, {9, 9, 1}});
    // The replay stands at the start of the second stroke, in its first point.
    TStrokeDataWT* second = static_cast<TStrokeDataWT*>(document.lastElement);
    document.currentElement = second;
    second->pointCursor = second->firstPoint;

    const std::string text = Svg(document);
    const size_t image =
        text.find("<image x=\"0\" y=\"1030\" width=\"10220\" height=\"5110\" xlink:href=");
    const size_t grid = text.find("<g stroke=\"#FFBDBD\">");
    const size_t first = text.find("<circle cx=\"10\" cy=\"10\"");
    const size_t last = text.find("<circle cx=\"90\" cy=\"90\"");
    ASSERT_NE(image, std::string::npos);
    ASSERT_NE(grid, std::string::npos);
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(last, std::string::npos);
    EXPECT_LT(image, grid);
    EXPECT_LT(grid, first);
    EXPECT_LT(first, last);
    EXPECT_EQ(document.currentElement, second);
    EXPECT_EQ(second->pointCursor, second->firstPoint);
}

TEST(SvgDocument, MissingBackgroundPictureIsSkipped) {
    TPenReplayWT document(1022, 718);
    document.backgroundMode = 1;  // a mode word without a picture
    EXPECT_EQ(Svg(document), kHeader + "</svg>");
}

TEST(SvgDocument, HugeOrInvalidCoordinatesStayDefined) {
    TPenReplayWT document(1022, 718);
    AddStroke(document, {{1e30f, -1e30f, 1.0f}, {std::nanf(""), 0.0f, 1.0f}});
    TSvgStream out;
    WriteSvgDocument(document, out);
    EXPECT_NE(out.Text().find("<circle cx=\"2147483647\" cy=\"-2147483648\" r=\"10\"/>"),
              std::string::npos);
}

}  // namespace
}  // namespace quil
