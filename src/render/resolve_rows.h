#pragma once

#include <cstdint>

namespace quil {

// Box-filter kernels of the resolve: n display pixels of one display row
// from the f work rows of its block. Each output byte is the sum of the
// f x f samples of its channel shifted right by 2 log2 f, xor `flip` (0xFF
// gives the complement 255 - v). `sums` holds at least 3 f n + 16 entries.
void ResolveRow4(const uint8_t* r0, const uint8_t* r1, const uint8_t* r2, const uint8_t* r3,
                 uint8_t* out, int n, uint8_t flip, uint16_t* sums);
void ResolveRow2(const uint8_t* r0, const uint8_t* r1, uint8_t* out, int n, uint8_t flip,
                 uint16_t* sums);

}  // namespace quil
