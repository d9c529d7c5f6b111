// Our SVGZ drawing read by a real SVG client (rsvg-convert) against the PNG
// export of the same page: two independent roads from one recording.
// Anti-aliasing differs a little between them; geometry must not. Each
// picture is thresholded into masks (ink, and any tint at all) and every
// masked pixel of one must have a masked pixel of the other within a thin
// edge band.

#include <gtest/gtest.h>

#include "export/picture_export.h"
#include "export/svgz_writer.h"
#include "export_fixtures.h"
#include "picture_decoders.h"
#include "run_tool.h"
#include "test_folder.h"

namespace quil {
namespace {

namespace fs = std::filesystem;
using testing::DecodePng;
using testing::TRgbaPicture;

// The client renders the drawing on white. It is installed with the
// project's packages (librsvg2-bin), so its absence is a failure.
test::ToolRun RenderWithRsvg(const fs::path& svgz, const fs::path& png) {
    return test::RunProgram("rsvg-convert", {"-b", "white", "-o", png.string(), svgz.string()});
}

using TMaskTest = bool (*)(const uint8_t*);
bool Ink(const uint8_t* p) { return (p[0] * 3 + p[1] * 6 + p[2]) / 10 < 128; }
bool Tint(const uint8_t* p) { return p[0] < 240 || p[1] < 240 || p[2] < 240; }

// Pixels in `a`'s mask with no pixel of `b`'s mask within `band` pixels.
int Unmatched(const TRgbaPicture& a, TMaskTest test, const TRgbaPicture& b, TMaskTest other,
              int band, int& masked) {
    int unmatched = 0;
    masked = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            if (!test(a.At(x, y))) continue;
            ++masked;
            bool found = false;
            for (int dy = -band; dy <= band && !found; ++dy)
                for (int dx = -band; dx <= band && !found; ++dx) {
                    const int u = x + dx, v = y + dy;
                    found = u >= 0 && v >= 0 && u < b.width && v < b.height && other(b.At(u, v));
                }
            unmatched += found ? 0 : 1;
        }
    return unmatched;
}

// Ink (dark) in one picture must be at least tinted in the other within
// the band: a thin tip that one renderer shades dark the other may shade
// lighter, but it must be there. Tints must match tints, and the tinted
// areas agree within the edge softening.
void ExpectSameGeometry(const TRgbaPicture& svg, const TRgbaPicture& raster, int band = 2) {
    ASSERT_EQ(svg.width, raster.width);
    ASSERT_EQ(svg.height, raster.height);
    int inkSvg = 0, inkRaster = 0, tintSvg = 0, tintRaster = 0;
    EXPECT_EQ(Unmatched(svg, Ink, raster, Tint, band, inkSvg), 0)
        << "ink drawn by the SVG client only";
    EXPECT_EQ(Unmatched(raster, Ink, svg, Tint, band, inkRaster), 0)
        << "ink drawn by the raster export only";
    EXPECT_EQ(Unmatched(svg, Tint, raster, Tint, band, tintSvg), 0)
        << "tint drawn by the SVG client only";
    EXPECT_EQ(Unmatched(raster, Tint, svg, Tint, band, tintRaster), 0)
        << "tint drawn by the raster export only";
    EXPECT_GT(inkSvg, 1000);
    EXPECT_NEAR(double(inkSvg) / inkRaster, 1.0, 0.12);
    EXPECT_NEAR(double(tintSvg) / tintRaster, 1.0, 0.12);
}

// Opens folder/page.stk, exports its page as PNG and the whole recording as
// SVGZ, renders the SVGZ with the client and compares the two pictures'
// geometry within `band` pixels.
void ExpectClientMatchesPngExport(const fs::path& folder, int band = 2,
                                  bool withBackground = false) {
    testing::TOpenPlayer player(folder / "page.stk");
    ASSERT_EQ(player.openResult, 0);
    ASSERT_EQ(player->HasBackground(), withBackground);
    ASSERT_EQ(SavePng(*player, folder / "raster.png"), 1);
    ASSERT_EQ(WriteSvgzFile(*player->Document(), folder / "page.svgz"), 0);
    const test::ToolRun client = RenderWithRsvg(folder / "page.svgz", folder / "svg.png");
    ASSERT_EQ(client.status, 0) << "rsvg-convert (Debian package librsvg2-bin): " << client.err;

    TRgbaPicture svg, raster;
    ASSERT_TRUE(DecodePng(testing::ReadWholeFile((folder / "svg.png").string()), svg));
    ASSERT_TRUE(DecodePng(testing::ReadWholeFile((folder / "raster.png").string()), raster));
    ExpectSameGeometry(svg, raster, band);
}

TEST(SvgInARealRenderer, StrokesAndGridMatchThePngExport) {
    testing::TTestFolder folder;
    fixture::Header header;
    header.gridCellSize = 64 | 64u << 16;
    header.gridOrigin = 20 | 30u << 16;
    header.gridCells = 15 | 10u << 16;
    // No subdivisions: with them the drawing's major lines are 6 units
    // wide where the raster page draws 3 pixels, a difference of the two
    // formats that this comparison is not about.
    fixture::TRecordingWriter writer(header);
    testing::AddTestStrokes(writer, 12);
    ASSERT_TRUE(fixture::WriteFile(folder / "page.stk", writer.Body()));

    ExpectClientMatchesPngExport(folder.Path());
}

// Background pictures placed and tiled, embedded as PNG data: the client
// must accept the drawing as it is written (the "xlink" prefix of the
// picture references is declared on the root) and place every picture where
// the raster export puts it.
TEST(SvgInARealRenderer, BackgroundPlacementsMatchThePngExport) {
    // A dark block in the top-left quarter of a white picture, so that the
    // edges of the picture and of every tile can be seen.
    fixture::Picture picture = fixture::SolidPicture(64, 40, 0xFFFFFF);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 32; ++x)
            picture.pixels[size_t(y) * 64 + x] = 0x602010;
    // The client smooths a picture it enlarges, across about one picture
    // pixel, where the raster export repeats pixels: the band of an
    // enlarged picture is one picture pixel on the page (16 at fit).
    struct Case {
        int mode, placement, band;
    };
    for (const Case c : {Case{2, 0, 17}, Case{2, 2, 2}, Case{2, 3, 2}, Case{1, 0, 2}}) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " placement " +
                     std::to_string(c.placement));
        testing::TTestFolder folder;
        fixture::TRecordingWriter writer(fixture::Header{});
        writer.Background(c.mode, c.placement, fixture::EncodeBmp(picture));
        testing::AddTestStrokes(writer, 2);
        ASSERT_TRUE(fixture::WriteFile(folder / "page.stk", writer.Body()));

        ExpectClientMatchesPngExport(folder.Path(), c.band, true);
    }
}

// Stamps are embedded as RGBA PNG with white transparent: the strokes under
// a stamp's white must show in the client as they do in the raster export,
// and the stamp's own pixels land where the raster export puts them, at its
// natural size and enlarged.
TEST(SvgInARealRenderer, StampsMatchThePngExport) {
    fixture::Picture picture = fixture::SolidPicture(64, 40, 0xFFFFFF);
    for (int y = 8; y < 32; ++y)
        for (int x = 16; x < 48; ++x)
            picture.pixels[size_t(y) * 64 + x] = 0x204080;
    testing::TTestFolder folder;
    fixture::TRecordingWriter writer(fixture::Header{});
    testing::AddTestStrokes(writer, 8);
    writer.Stamp(40, 60, 64, 40, fixture::EncodeBmp(picture));
    writer.Stamp(500, 200, 128, 80, fixture::EncodeBmp(picture));
    ASSERT_TRUE(fixture::WriteFile(folder / "page.stk", writer.Body()));

    // The enlarged stamp is smoothed by the client across one picture pixel
    // (two page units), where the raster export repeats pixels.
    ExpectClientMatchesPngExport(folder.Path(), 3);
}

}  // namespace
}  // namespace quil
