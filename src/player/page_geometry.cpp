#include "player/page_geometry.h"

#include <cmath>

#include "platform/truncate.h"

namespace quil {

TStampRect MapStamp(const TStampDataWT& stamp, const TPageMapping& mapping) {
    return {mapping.X(stamp.x), mapping.Y(stamp.y), stamp.width * mapping.scaleX,
            stamp.height * mapping.scaleY};
}

// ---- Placed background -------------------------------------------------

TPlacement PlacementOf(int32_t word) {
    switch (word) {
    case 0: return TPlacement::Fit;
    case 1: return TPlacement::Stretch;
    case 2: return TPlacement::Centre;
    default: return TPlacement::TopLeft;
    }
}

double FitScale(TSize picture, TSize page, TSize aspect) {
    const double pictureAspect = double(picture.width) / picture.height;
    return pictureAspect > double(aspect.width) / aspect.height
               ? double(page.width) / picture.width
               : double(page.height) / picture.height;
}

namespace {

// The corner that centres `size` page units on `page` units.
int FitCorner(int page, double size, TCornerRounding rounding) {
    if (rounding == TCornerRounding::Screen) return int((int64_t(page) - TruncToInt(size)) >> 1);
    return TruncToInt((page - size) * 0.5);
}

int CentreCorner(int page, int picture, TCornerRounding rounding) {
    const int64_t room = int64_t(page) - picture;
    return int(rounding == TCornerRounding::Drawing ? room / 2 : room >> 1);
}

// Work samples of a display coordinate: four a pixel.
int Work(double v) { return TruncToInt(v * 4.0); }

}  // namespace

TPlacedArea PlaceBackground(int32_t placement, TSize page, TSize picture,
                            TCornerRounding rounding) {
    return PlaceBackground(placement, page, picture, page, rounding);
}

TPlacedArea PlaceBackground(int32_t placement, TSize page, TSize picture, TSize fitAspect,
                            TCornerRounding rounding) {
    TPlacedArea area;
    switch (PlacementOf(placement)) {
    case TPlacement::Fit: {
        const double k = FitScale(picture, page, fitAspect);
        area.width = picture.width * k;
        area.height = picture.height * k;
        area.left = FitCorner(page.width, area.width, rounding);
        area.top = FitCorner(page.height, area.height, rounding);
        area.fitted = true;
        break;
    }
    case TPlacement::Stretch:
        area.width = page.width;
        area.height = page.height;
        break;
    case TPlacement::Centre:
        area.left = CentreCorner(page.width, picture.width, rounding);
        area.top = CentreCorner(page.height, picture.height, rounding);
        area.width = picture.width;
        area.height = picture.height;
        break;
    case TPlacement::TopLeft:
        area.width = picture.width;
        area.height = picture.height;
        break;
    }
    return area;
}

TRect MappedArea(const TPlacedArea& area, const TPageMapping& mapping) {
    const int x0 = TruncToInt(mapping.X(float(area.left)));
    const int y0 = TruncToInt(mapping.Y(float(area.top)));
    // A fitted size is a double and scales in double; a whole one scales in
    // float, as the picture's own sides always have.
    if (area.fitted)
        return {x0, y0, TruncToInt(area.width * mapping.scaleX + x0),
                TruncToInt(area.height * mapping.scaleY + y0)};
    return {x0, y0, TruncToInt(float(area.width) * mapping.scaleX + float(x0)),
            TruncToInt(float(area.height) * mapping.scaleY + float(y0))};
}

TRect ScreenPlacedRect(int32_t placement, TSize page, TSize picture, const TPageMapping& mapping) {
    return MappedArea(PlaceBackground(placement, page, picture, TCornerRounding::Screen), mapping);
}

TRect OffScreenPlacedRect(int32_t placement, TSize page, TSize picture,
                          const TPageMapping& mapping) {
    const TPlacedArea area = PlaceBackground(placement, page, picture);
    const TPlacement kind = PlacementOf(placement);
    if (kind == TPlacement::Fit || kind == TPlacement::Centre) {
        // Display pixels first, then their samples.
        const TRect r = MappedArea(area, mapping);
        return {Work(r.left), Work(r.top), Work(r.right) - 1, Work(r.bottom) - 1};
    }
    // Stretched and top-left pictures are mapped in samples straight away.
    return {Work(mapping.X(0.0f)), Work(mapping.Y(0.0f)),
            TruncToInt(mapping.X(float(area.width)) * 4.0f - 1),
            TruncToInt(mapping.Y(float(area.height)) * 4.0f - 1)};
}

// ---- Tiled background --------------------------------------------------

TTiling TilingOf(TSize picture, const TPageMapping& mapping, int64_t spanWidth,
                 int64_t spanHeight) {
    TTiling tiling;
    tiling.tileWidth = TruncToInt(picture.width * mapping.scaleX * 4.0f);
    tiling.tileHeight = TruncToInt(picture.height * mapping.scaleY * 4.0f);
    tiling.originX = TruncToInt(mapping.X(0.0f) * 4.0f);
    tiling.originY = TruncToInt(mapping.Y(0.0f) * 4.0f);
    tiling.spanWidth = spanWidth;
    tiling.spanHeight = spanHeight;
    return tiling;
}

TTiling ScreenTiling(TSize picture, TSize page, const TPageMapping& mapping) {
    return TilingOf(picture, mapping, TruncToInt(page.width * mapping.scaleX * 4.0f),
                    TruncToInt(page.height * mapping.scaleY * 4.0f));
}

TTiling OffScreenTiling(TSize picture, TSize page, const TPageMapping& mapping) {
    return TilingOf(picture, mapping, int64_t(page.width) * 4, int64_t(page.height) * 4);
}

void ForEachVisibleTile(const TTiling& tiling, int width, int height,
                        const std::function<void(int64_t x, int64_t y)>& visit) {
    const int64_t tw = tiling.tileWidth, th = tiling.tileHeight;
    if (tw <= 0 || th <= 0) return;
    for (int64_t r = 0; r < tiling.spanHeight && tiling.originY + r < height; r += th) {
        const int64_t y = tiling.originY + r;
        if (y + th <= 0) continue;
        for (int64_t c = 0; c < tiling.spanWidth && tiling.originX + c < width; c += tw) {
            const int64_t x = tiling.originX + c;
            if (x + tw <= 0) continue;
            visit(x, y);
        }
    }
}

// ---- Grid --------------------------------------------------------------

namespace {

void SetCounts(TGridLines& lines, const TGridParams& grid) {
    lines.color = kGridColor;
    lines.columns = grid.columns;
    lines.rows = grid.rows;
    lines.subdivisionsX = grid.subdivisionsX;
    lines.subdivisionsY = grid.subdivisionsY;
}

// A subdivision count of 0 spaces its (absent) minor lines like 1.
int Divisor(int subdivisions) { return subdivisions != 0 ? subdivisions : 1; }

}  // namespace

void SetUpScreenGrid(TGridLines& lines, const TGridParams& grid, const TPageMapping& mapping) {
    SetCounts(lines, grid);
    lines.majorWidth = grid.HasMinorLines() ? 3 : 1;
    lines.minorWidth = 1;
    // Integer sums of the grid, then the origin and the zoom in float.
    const TGridParams g = grid;
    const TPageMapping m = mapping;
    lines.columnAt = [g, m](int i) {
        return TruncToInt(m.X(float(int64_t(g.originX) + int64_t(g.cellWidth) * i)));
    };
    lines.rowAt = [g, m](int k) {
        return TruncToInt(m.Y(float(int64_t(g.originY) + int64_t(g.cellHeight) * k)));
    };
    lines.stepX = g.cellWidth * m.scaleX / Divisor(g.subdivisionsX);
    lines.stepY = g.cellHeight * m.scaleY / Divisor(g.subdivisionsY);
    lines.top = lines.rowAt(0);
    lines.bottom = lines.rowAt(g.rows);
    lines.left = lines.columnAt(0);
    lines.right = lines.columnAt(g.columns);
    lines.swapRanges = false;
}

void SetUpOffScreenGrid(TGridLines& lines, const TGridParams& grid, const TPageMapping& mapping) {
    SetCounts(lines, grid);
    const float s = mapping.widthScale;
    lines.majorWidth = TruncToInt(s * (grid.HasMinorLines() ? 12.0f : 4.0f));
    lines.minorWidth = TruncToInt(s * 4.0f);
    // The cell and the origin scaled apart, then added.
    const float cellWidth = grid.cellWidth * mapping.scaleX;
    const float cellHeight = grid.cellHeight * mapping.scaleY;
    const float left = mapping.X(float(grid.originX)), top = mapping.Y(float(grid.originY));
    const float right = grid.columns * cellWidth + left, bottom = grid.rows * cellHeight + top;
    lines.columnAt = [cellWidth, left](int i) { return TruncToInt((i * cellWidth + left) * 4.0f); };
    lines.rowAt = [cellHeight, top](int k) { return TruncToInt((k * cellHeight + top) * 4.0f); };
    lines.stepX = cellWidth * 4.0f / Divisor(grid.subdivisionsX);
    lines.stepY = cellHeight * 4.0f / Divisor(grid.subdivisionsY);
    lines.top = TruncToInt(top * 4.0f);
    lines.bottom = TruncToInt(bottom * 4.0f);
    lines.left = TruncToInt(left * 4.0f);
    lines.right = TruncToInt(right * 4.0f);
    lines.swapRanges = true;
}

TPageMapping OffScreenMapping(TSize target, TSize page, bool stretch) {
    TPageMapping m;
    m.scaleX = float(target.width) / float(page.width);
    m.scaleY = float(target.height) / float(page.height);
    if (stretch) {
        m.widthScale = (m.scaleX + m.scaleY) * 0.5f;
        return m;
    }
    const float scale = m.scaleX > m.scaleY ? m.scaleY : m.scaleX;
    m.scaleX = m.scaleY = m.widthScale = scale;
    m.offsetX = (target.width - page.width * scale) * 0.5f;
    m.offsetY = (target.height - page.height * scale) * 0.5f;
    return m;
}

// ---- Printing ----------------------------------------------------------

bool PrintScaleOf(TSize page, const TRect& area, float scale, TPrintScale& print) {
    const int64_t areaWidth = int64_t(area.right) - area.left;
    const int64_t areaHeight = int64_t(area.bottom) - area.top;
    if (page.width <= 0 || page.height <= 0 || areaWidth <= 0 || areaHeight <= 0 || !(scale > 0.0f))
        return false;
    const int wholeWidth = TruncToInt(page.width * scale);
    const int wholeHeight = TruncToInt(page.height * scale);
    if (wholeWidth <= 0 || wholeHeight <= 0) return false;
    const float o = float(
        std::sqrt(double(int64_t(wholeWidth) * wholeHeight) / double(areaWidth * areaHeight)));
    TPrintScale p;
    p.page = page;
    p.o = o;
    p.pageWidth = TruncToInt(page.width * o);
    p.pageHeight = TruncToInt(page.height * o);
    p.samplesPerUnit = 4.0f * float(p.pageWidth) / float(page.width);
    p.left = TruncToInt(area.left * o);
    p.top = TruncToInt(area.top * o);
    p.width = TruncToInt(float(areaWidth) * o);
    p.height = TruncToInt(float(areaHeight) * o);
    if (p.width <= 0 || p.height <= 0) return false;
    print = p;
    return true;
}

TPageMapping PrintMapping(const TPrintScale& print) {
    TPageMapping m;
    m.scaleX = m.scaleY = m.widthScale = print.o;
    m.offsetX = -float(print.left);
    m.offsetY = -float(print.top);
    return m;
}

namespace {

int Clamped(int64_t v) { return ClampCoordinate(v, INT32_MIN, INT32_MAX); }

// A page coordinate in work samples of the background, less the corner:
// trunc(v * P - corner), in float.
int BackgroundSample(int v, float samplesPerUnit, int64_t corner) {
    return TruncToInt(float(v) * samplesPerUnit - float(corner));
}

}  // namespace

TRect PrintPlacedRect(int32_t placement, TSize page, TSize picture, const TPrintScale& print) {
    const int64_t x = print.CornerX(), y = print.CornerY();
    if (PlacementOf(placement) == TPlacement::Stretch)
        return {Clamped(-x), Clamped(-y), Clamped(int64_t(print.pageWidth) * 4 - x),
                Clamped(int64_t(print.pageHeight) * 4 - y)};
    const TPlacedArea area = PlaceBackground(
        placement, page, picture, {print.pageWidth, print.pageHeight}, TCornerRounding::Page);
    // The far edges in whole page units: trunc(size + corner).
    const int right = TruncToInt(area.width + area.left);
    const int bottom = TruncToInt(area.height + area.top);
    const float p = print.samplesPerUnit;
    return {BackgroundSample(area.left, p, x), BackgroundSample(area.top, p, y),
            BackgroundSample(right, p, x), BackgroundSample(bottom, p, y)};
}

TTiling PrintTiling(TSize picture, const TPrintScale& print) {
    // A quarter of P a target pixel: the tile is trunc(picture * P) samples.
    TPageMapping samples;
    samples.scaleX = samples.scaleY = print.samplesPerUnit / 4.0f;
    return TilingOf(picture, samples, int64_t(print.pageWidth) * 4, int64_t(print.pageHeight) * 4);
}

void SetUpPrintGrid(TGridLines& lines, const TGridParams& grid, const TPrintScale& print) {
    SetCounts(lines, grid);
    const float r = print.o * 4.0f;
    lines.majorWidth = TruncToInt(r * (grid.HasMinorLines() ? 3.0f : 1.0f));
    lines.minorWidth = TruncToInt(r);
    // Integer products and divisions by the page width, for both axes.
    const int64_t w1 = print.pageWidth, pw = print.page.width;
    const int64_t cellWidth = grid.cellWidth * w1 / pw, cellHeight = grid.cellHeight * w1 / pw;
    const int64_t originX = grid.originX * w1 / pw, originY = grid.originY * w1 / pw;
    const int64_t x = print.CornerX(), y = print.CornerY();
    lines.columnAt = [cellWidth, originX, x](int i) {
        return Clamped((i * cellWidth + originX) * 4 - x);
    };
    lines.rowAt = [cellHeight, originY, y](int k) {
        return Clamped((k * cellHeight + originY) * 4 - y);
    };
    lines.stepX = float(cellWidth) * 4.0f / Divisor(grid.subdivisionsX);
    lines.stepY = float(cellHeight) * 4.0f / Divisor(grid.subdivisionsY);
    lines.top = lines.rowAt(0);
    lines.bottom = lines.rowAt(grid.rows);
    lines.left = lines.columnAt(0);
    lines.right = lines.columnAt(grid.columns);
    lines.swapRanges = false;
}

}  // namespace quil
