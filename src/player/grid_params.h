#pragma once

#include <cstdint>

namespace quil {

class TPenReplayWT;

// The eight grid integers unpacked from the document's four grid words.
// Low halves are unsigned 16-bit values, high halves signed (the word
// shifted right arithmetically by 16).
struct TGridParams {
    int cellWidth = 0;
    int cellHeight = 0;
    int columns = 0;
    int rows = 0;
    int originX = 0;
    int originY = 0;
    int subdivisionsX = 0;
    int subdivisionsY = 0;

    // Minor lines exist for a direction with more than one subdivision;
    // major lines are then drawn thick.
    bool HasMinorLines() const { return subdivisionsX > 1 || subdivisionsY > 1; }
};

// Unpacks the grid words with their adjustments: a missing cell side takes
// the other side, missing column and row counts cover the standard page
// (kDefaultPageWidth x kDefaultPageHeight).
// Returns false (no grid) when the cell size word is 0, or when both cell
// sides are 0, which leaves no cell to count columns and rows with.
bool UnpackGrid(uint32_t cellSize, uint32_t origin, uint32_t cells, uint32_t subdivisions,
                TGridParams& grid);
// The same for the document's own grid words.
bool UnpackGrid(const TPenReplayWT& document, TGridParams& grid);

}  // namespace quil
