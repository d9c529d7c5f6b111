#pragma once

#include <functional>

#include "platform/canvas.h"
#include "platform/color.h"

namespace quil {

// Draws a grid's lines onto a canvas, in the target's own pixels. The
// caller gives where major line i lies (columnAt, rowAt) and the spacing of
// the minor lines; minor line j of column i lies at trunc(j * stepX +
// columnAt(i)). Vertical lines run from top to bottom, horizontal ones from
// left to right (swapped first when swapRanges is set and the range is
// reversed).
//
// Lines wholly outside the target are skipped and line ends far outside it
// are pulled in to its edge, which leaves every drawn pixel as it is but
// keeps grid words of any size from costing more than the target.
struct TGridLines {
    TCanvas canvas;
    COLORREF color = 0;
    int majorWidth = 1;
    int minorWidth = 1;
    int columns = 0;
    int rows = 0;
    int subdivisionsX = 0;
    int subdivisionsY = 0;
    std::function<int(int)> columnAt;
    std::function<int(int)> rowAt;
    float stepX = 0.0f;
    float stepY = 0.0f;
    int top = 0, bottom = 0, left = 0, right = 0;
    bool swapRanges = false;

    void Draw();

private:
    void VerticalLines(int from, int to);
    void HorizontalLines(int from, int to);
    void MinorLines(bool vertical, int from, int to);
    void Line(bool vertical, int at, int from, int to, int width);
};

}  // namespace quil
