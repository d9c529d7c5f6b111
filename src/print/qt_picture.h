#pragma once

#include <QImage>

#include "platform/bitmap.h"

namespace quil {

// A 24-bit picture seen by Qt without a copy: its rows in memory order, so
// the image is upside down. It shares the picture's pixels and must not
// outlive them or be drawn after they change.
QImage UpsideDownView(const TBitmap& picture);

// A top-down copy of a 24-bit picture; a null image for any other picture.
QImage ToQImage(const TBitmap& picture);

}  // namespace quil
