#pragma once

#include <cstdint>
#include <vector>

#include "platform/bitmap.h"

namespace quil {

constexpr int kJpegQuality = 90;

// A baseline colour JFIF file of a 24-bit picture, encoded by libjpeg at
// the given quality with its default chroma sampling. Returns an empty
// vector when the picture is empty or not 24-bit, or when libjpeg fails.
std::vector<uint8_t> EncodeJpeg(const TBitmap& picture, int quality = kJpegQuality);

}  // namespace quil
