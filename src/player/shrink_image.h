#pragma once

#include <cstdint>

#include "platform/bitmap.h"

namespace quil {

// Reduces a 24-bit picture by nearest-neighbour sampling. src and dst point
// at the first byte of the bottom-most row of bottom-up buffers whose rows
// are padded to 4 bytes. Destination row i (from the bottom) takes source
// row trunc(i * srcHeight / dstHeight), pixel j source pixel
// trunc(j * srcWidth / dstWidth), so the bottom rows of both correspond.
// Returns 1 when dstWidth or dstHeight is 0 (nothing written), 0 after a
// reduction. Both sizes must be positive or 0; the caller owns the buffers.
int ShrinkImage24(const uint8_t* src, int srcWidth, int srcHeight, uint8_t* dst, int dstWidth,
                  int dstHeight);

// The part of the reduction above that lands on `part`: part pixel (k, j),
// counted from the top, is what ShrinkImage24 writes at (left + k, top + j)
// of a dstWidth x dstHeight picture. Lets a stamp larger than the surface it
// lands on be sampled without holding the whole reduced picture.
void ShrinkImage24Part(const TBitmap& src, int dstWidth, int dstHeight, int left, int top,
                       TBitmap& part);

}  // namespace quil
