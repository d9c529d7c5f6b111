#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace quil {

// Truncation toward zero that stays defined for any float a file can hold:
// NaN gives 0 and values beyond the int range stop at its ends.
inline int TruncToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (v <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return int(v);
}

// A length in page units as the integer number of tenths that is written.
inline int Tenths(float v) { return TruncToInt(v * 10.0f); }

// 10 * v for values that are whole page units already, kept defined near
// the int range.
inline int TimesTen(int64_t v) { return TruncToInt(double(v) * 10.0); }

}  // namespace quil
