#pragma once

#include <cstdint>
#include <vector>

#include "platform/bitmap.h"

namespace quil {

// An 8-bit RGB PNG (colour type 2, not interlaced) of a picture, with
// libpng's default compression and filters. 8-bit grey pictures are
// written as their RGB equivalent. Returns an empty vector on failure.
std::vector<uint8_t> EncodePngRgb(const TBitmap& picture);

// The picture exports' PNG: the RGB kind.
inline std::vector<uint8_t> EncodePng(const TBitmap& picture) { return EncodePngRgb(picture); }

// An 8-bit RGBA PNG (colour type 6) of a picture whose alpha is 0 for every
// pixel that is exactly white and 255 for every other pixel: how stamps are
// drawn, with white transparent. Returns an empty vector on failure.
std::vector<uint8_t> EncodePngWhiteTransparent(const TBitmap& picture);

}  // namespace quil
