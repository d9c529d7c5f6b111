#pragma once

#include <cstdint>

namespace quil {

// Unsigned words stored little-endian, as every file format the system
// reads stores them, read from any alignment.
inline uint16_t LoadU16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t LoadU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace quil
