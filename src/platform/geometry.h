#pragma once

namespace quil {

struct TPoint {
    int x = 0;
    int y = 0;
};

struct TSize {
    int width = 0;
    int height = 0;
    bool operator==(const TSize&) const = default;
};

// A rectangle by its edges; right and bottom are exclusive unless an
// operation says otherwise.
struct TRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const TRect&) const = default;
};

}  // namespace quil
