#pragma once

namespace quil {

// Float to int by truncation toward zero, as every conversion of the
// renderers does, with NaN taken as 0 and huge values held to a safe range
// so that wild coordinates cannot overflow the box arithmetic (they then
// fall outside every surface).
inline int TruncSample(float v) {
    if (!(v == v)) return 0;
    if (v >= 1.0e9f) return 1000000000;
    if (v <= -1.0e9f) return -1000000000;
    return int(v);
}

}  // namespace quil
