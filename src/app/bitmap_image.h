#pragma once

#include <QImage>

#include "platform/bitmap.h"

namespace quil {

// Between the core's 24-bit pictures (blue, green, red; rows bottom-up) and
// the toolkit's images.

// The whole picture as a new image (RGB32).
QImage ToImage(const TBitmap& picture);

// Copies the rectangle (x, y, width, height) of `picture` into `image` at the
// same place, clipped to both. The image must be RGB32.
void CopyIntoImage(const TBitmap& picture, int x, int y, int width, int height, QImage& image);

// Copies what `image` holds into the top-left of a 24-bit `picture`, clipped
// to both.
void CopyIntoBitmap(const QImage& image, TBitmap& picture);

}  // namespace quil
