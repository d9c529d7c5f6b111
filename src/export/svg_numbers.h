#pragma once

#include <cstdint>

#include "platform/truncate.h"

namespace quil {

// A length in page units as the integer number of tenths that is written.
inline int Tenths(float v) { return TruncToInt(v * 10.0f); }

// 10 * v for values that are whole page units already, kept defined near
// the int range.
inline int TimesTen(int64_t v) { return TruncToInt(double(v) * 10.0); }

}  // namespace quil
