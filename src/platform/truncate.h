#pragma once

#include <cstdint>

namespace quil {

// Float to int by truncation toward zero, as every conversion of layout,
// drawing and export does. Values beyond the int range (from hostile sizes
// or zooms) stop at its ends instead of being undefined; NaN gives 0.
inline int TruncToInt(double value) {
    if (!(value == value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return int(value);
}

// The same truncation for the renderers' sample coordinates, held to
// +-1e9 so that the difference of two of them still fits an int: wild
// coordinates then fall outside every surface instead of overflowing the
// box arithmetic.
inline int TruncSample(float value) {
    if (!(value == value)) return 0;
    if (value >= 1.0e9f) return 1000000000;
    if (value <= -1.0e9f) return -1000000000;
    return int(value);
}

// Clamps a coordinate to [low, high]; keeps line ends that lie far outside
// a picture from driving the line drawing over millions of pixels.
inline int ClampCoordinate(int64_t value, int low, int high) {
    return value < low ? low : value > high ? high : int(value);
}

}  // namespace quil
