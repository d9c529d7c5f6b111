#pragma once

#include <cstdint>
#include <functional>

#include "model/pen_replay_point.h"
#include "model/stamp_data.h"
#include "platform/color.h"
#include "platform/geometry.h"
#include "player/grid_lines.h"
#include "player/grid_params.h"
#include "render/fuzzy_line_gdi.h"

namespace quil {

// Where the layers of a page land on a target, for every road that draws a
// page: the screen's page picture (display pixels at the zoom, from the
// view origin), the off-screen rendering (a picture of any size, the page
// scaled and offset to centre it), the SVG drawing (page units, written in
// tenths) and printing (work samples at print scale, the printed area's
// corner as a negative offset). The roads round in their own ways; each way
// is written here once, beside the others.
//
// Printing works in work samples: its placed background is the area of
// PlaceBackground (fitted against the printed page's aspect, fitAspect)
// scaled to samples and moved by minus the printed area's corner; its tiles
// are a TilingOf without offset, since they start at the area's corner, with
// the printed page's span; its stamps go through MapStamp with the area's
// corner as the negative offset. TPrintScale holds the numbers these share.

// Grid lines are this pink on every road.
constexpr COLORREF kGridColor = MakeColor(255, 189, 189);

// How a target shows the page: page point (x, y) lands at
// ((x - originX) * scaleX + offsetX, (y - originY) * scaleY + offsetY)
// target pixels (float arithmetic), and a pen radius r at r * widthScale.
// The screen uses an origin and no offset, the off-screen rendering an
// offset and no origin.
struct TPageMapping {
    float originX = 0.0f, originY = 0.0f;
    float scaleX = 1.0f, scaleY = 1.0f;
    float offsetX = 0.0f, offsetY = 0.0f;
    float widthScale = 1.0f;

    float X(float x) const { return (x - originX) * scaleX + offsetX; }
    float Y(float y) const { return (y - originY) * scaleY + offsetY; }
    PenPoint Map(const TPenReplayPointWT& p) const {
        return {X(p.x), Y(p.y), p.radius * widthScale};
    }
};

// The page on an off-screen target of `target` pixels: both axes scaled
// apart (pen widths by their mean), or, without `stretch`, by the smaller
// scale with the page centred between white margins (offsets not
// truncated). The page size must be positive.
TPageMapping OffScreenMapping(TSize target, TSize page, bool stretch);

// A stamp's rectangle on the target (floats).
struct TStampRect {
    float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;
};

TStampRect MapStamp(const TStampDataWT& stamp, const TPageMapping& mapping);

// ---- Placed background -------------------------------------------------

// The document's background modes: none, tiles from the page's corner, or
// one picture placed by the placement word.
constexpr int32_t kNoBackground = 0;
constexpr int32_t kTiledBackground = 1;
constexpr int32_t kPlacedBackground = 2;

// The placement word of a placed background; any word other than 0, 1 or 2
// puts the picture at its own size at the page's top-left corner.
enum class TPlacement { Fit, Stretch, Centre, TopLeft };
TPlacement PlacementOf(int32_t word);

// How a road rounds the corner of a placed picture.
enum class TCornerRounding {
    // fit: trunc((page - picture * k) / 2); centre: (page - picture) >> 1
    Page,
    // the screen: fit from the truncated size, (page - trunc(picture * k)) >> 1
    Screen,
    // the SVG drawing: centre by division toward zero, (page - picture) / 2
    Drawing,
};

// A placed picture on the page, in page units: its corner in whole units
// and its size, which is the picture's times the fit scale (fitted), the
// page's (stretch) or the picture's own (centre, top-left).
struct TPlacedArea {
    int left = 0, top = 0;
    double width = 0.0, height = 0.0;
    bool fitted = false;
};

// Fit grows or shrinks the picture to the page's width when the picture is
// relatively wider than `aspect` (the page, or printing's scaled page), else
// to the page's height.
double FitScale(TSize picture, TSize page, TSize aspect);
TPlacedArea PlaceBackground(int32_t placement, TSize page, TSize picture,
                            TCornerRounding rounding = TCornerRounding::Page);
TPlacedArea PlaceBackground(int32_t placement, TSize page, TSize picture, TSize fitAspect,
                            TCornerRounding rounding);

// The target rectangle (right and bottom exclusive) of a placed area: the
// corner mapped and truncated, the far edges the size at the mapping's scale
// from there.
TRect MappedArea(const TPlacedArea& area, const TPageMapping& mapping);

// The screen's page picture: the display rectangle the background picture
// is laid into (through a 4 x 4 supersampled canvas).
TRect ScreenPlacedRect(int32_t placement, TSize page, TSize picture, const TPageMapping& mapping);

// Off screen: the work rectangle (four samples a display pixel; right and
// bottom the last sample columns covered, as the stretch copy takes them)
// the picture's rectangle (0, 0, width - 1, height - 1) is stretched onto.
TRect OffScreenPlacedRect(int32_t placement, TSize page, TSize picture,
                          const TPageMapping& mapping);

// ---- Tiled background --------------------------------------------------

// Copies of one tile of tileWidth x tileHeight work samples (four per
// target pixel), laid from (originX, originY) every tile step for as long
// as the step stays below the span.
struct TTiling {
    int tileWidth = 0, tileHeight = 0;
    int64_t originX = 0, originY = 0;
    int64_t spanWidth = 0, spanHeight = 0;
};

// The picture's sides at the mapping's scale and the page's corner, in work
// samples; the span is the road's own.
TTiling TilingOf(TSize picture, const TPageMapping& mapping, int64_t spanWidth, int64_t spanHeight);
// The screen tiles the page at its zoom.
TTiling ScreenTiling(TSize picture, TSize page, const TPageMapping& mapping);
// Off screen the span is four times the page size whatever the scale, so
// a reduced page's tiles reach on into the margins.
TTiling OffScreenTiling(TSize picture, TSize page, const TPageMapping& mapping);

// Calls visit(x, y) with the corner of every tile that overlaps a target of
// width x height samples. Tiles wholly outside it are not visited, so a small
// tile on a huge page costs no more than the target.
void ForEachVisibleTile(const TTiling& tiling, int width, int height,
                        const std::function<void(int64_t x, int64_t y)>& visit);

// ---- Grid --------------------------------------------------------------

// The screen's grid on the page picture: the integer sums of the grid's
// origin and cells mapped to display pixels; major lines 3 pixels wide with
// subdivisions, else 1, minor lines 1; reversed ranges drawn as they come.
void SetUpScreenGrid(TGridLines& lines, const TGridParams& grid, const TPageMapping& mapping);

// Off screen, in work samples: the cells and the origin scaled apart and
// added; major lines trunc(s * 12) samples wide with subdivisions, else
// trunc(s * 4), minor lines trunc(s * 4) (s the width scale); reversed
// ranges swapped.
void SetUpOffScreenGrid(TGridLines& lines, const TGridParams& grid, const TPageMapping& mapping);

// ---- Printing ----------------------------------------------------------

// The resolution a printed area is drawn at: the area gets as many display
// pixels as the whole page would have at the print scale, whatever its
// size, so that o = sqrt(W0 * H0 / (area width * area height)) with
// W0 x H0 = trunc(page * scale).
struct TPrintScale {
    TSize page;          // the document's page, in page units
    float o = 0.0f;      // display pixels per page unit
    int pageWidth = 0;   // W1 = trunc(page width * o): the page at o
    int pageHeight = 0;  // H1
    // P = 4 W1 / page width: work samples per page unit of the background.
    float samplesPerUnit = 0.0f;
    int left = 0, top = 0;      // the area's corner at o, trunc(area corner * o)
    int width = 0, height = 0;  // the area at o, trunc(area size * o): the renderer's size

    // The area's corner in work samples (X, Y).
    int64_t CornerX() const { return int64_t(left) * 4; }
    int64_t CornerY() const { return int64_t(top) * 4; }
};

// False when the page, the area (right and bottom exclusive) or the scale
// leave no pixel to draw: a side of 0 or less, or a scale that is not
// positive.
bool PrintScaleOf(TSize page, const TRect& area, float scale, TPrintScale& print);

// Strokes and stamps on the printed area: (x * o - left, y * o - top),
// radii times o.
TPageMapping PrintMapping(const TPrintScale& print);

// The work rectangle (right and bottom exclusive) the whole background
// picture, (0, 0, width, height), is stretched onto: its place on the page
// in page units, times P, less the area's corner. A fitted picture is
// fitted against the aspect of the page at o; a stretched one covers the
// page at o exactly.
TRect PrintPlacedRect(int32_t placement, TSize page, TSize picture, const TPrintScale& print);

// Tiles of trunc(picture * P) samples from the area's corner, over the
// page at o.
TTiling PrintTiling(TSize picture, const TPrintScale& print);

// The grid in work samples: cells and origin scaled with integer
// arithmetic by W1 / page width on both axes, then moved by the area's
// corner; major lines trunc(r * 3) samples wide with subdivisions, else
// trunc(r), minor lines trunc(r) (r = 4 o); reversed ranges drawn as they
// come.
void SetUpPrintGrid(TGridLines& lines, const TGridParams& grid, const TPrintScale& print);

}  // namespace quil
