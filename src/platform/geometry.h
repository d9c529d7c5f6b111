#pragma once

namespace quil {

struct TPoint {
    int x = 0;
    int y = 0;
};

// A rectangle by its edges; right and bottom are exclusive unless an
// operation says otherwise.
struct TRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

}  // namespace quil
