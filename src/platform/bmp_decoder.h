#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/bitmap.h"

namespace quil {

// Decodes a Windows BMP file image (file header, info header, pixel rows)
// into a 24-bit picture. Reads 1, 4, 8, 16, 24 and 32 bits per pixel, BI_RGB,
// BI_BITFIELDS, RLE8 and RLE4, bottom-up and top-down rows, core, info, V4
// and V5 headers. Every size is checked against the bytes present before
// anything is allocated. Returns false, leaving `picture` empty, for
// anything it cannot read.
bool DecodeBmp(const uint8_t* data, size_t size, TBitmap& picture);

}  // namespace quil
