#pragma once

#include <cmath>
#include <cstdint>

namespace quil {

// Float to int by truncation toward zero, as every layout and drawing
// conversion does. Values beyond the int range (from hostile sizes or zooms)
// saturate instead of being undefined; NaN gives 0.
inline int TruncToInt(double value) {
    if (!(value == value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return int(value);
}

// Clamps a coordinate to [low, high]; used to keep line ends that lie far
// outside a picture from driving the line drawing over millions of pixels.
inline int ClampCoordinate(int64_t value, int low, int high) {
    return value < low ? low : value > high ? high : int(value);
}

}  // namespace quil
