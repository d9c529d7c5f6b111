#include "player/grid_params.h"

#include "model/document.h"
#include "model/page_size.h"

namespace quil {

bool UnpackGrid(uint32_t cellSize, uint32_t origin, uint32_t cells, uint32_t subdivisions,
                TGridParams& grid) {
    if (cellSize == 0) return false;
    TGridParams g;
    g.cellWidth = GridLow(cellSize);
    g.cellHeight = GridHigh(cellSize);
    if (g.cellWidth == 0) g.cellWidth = g.cellHeight;
    if (g.cellHeight == 0) g.cellHeight = g.cellWidth;
    // Both sides 0 would divide by zero below.
    if (g.cellWidth == 0 || g.cellHeight == 0) return false;
    g.originX = GridLow(origin);
    g.originY = GridHigh(origin);
    g.columns = GridLow(cells);
    g.rows = GridHigh(cells);
    // Missing counts cover the standard page, whatever the document's own
    // page size is.
    if (g.columns == 0) g.columns = kDefaultPageWidth / g.cellWidth + 1;
    if (g.rows == 0) g.rows = kDefaultPageHeight / g.cellHeight + 1;
    g.subdivisionsX = GridLow(subdivisions);
    g.subdivisionsY = GridHigh(subdivisions);
    grid = g;
    return true;
}

bool UnpackGrid(const TPenReplayWT& document, TGridParams& grid) {
    return UnpackGrid(document.gridCellSize, document.gridOrigin, document.gridCells,
                      document.gridSubdivisions, grid);
}

}  // namespace quil
