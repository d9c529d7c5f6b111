#pragma once

#include <cstdint>
#include <vector>

#include "platform/bitmap.h"

namespace quil {

// The complete image of an uncompressed Windows bitmap file of a 24-bit
// picture: 14-byte file header ("BM"), 40-byte info header with a positive
// height (rows bottom-up), no colour table, then the rows blue-green-red,
// each padded with zeros to a multiple of 4 bytes.
// Returns an empty vector when the picture is empty, not 24-bit, or too
// large for the 32-bit size fields of the format.
std::vector<uint8_t> EncodeBmp(const TBitmap& picture);

}  // namespace quil
