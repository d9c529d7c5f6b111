#include "model/stamp_data.h"

#include <utility>

namespace quil {

TStampDataWT::TStampDataWT(float x_, float y_, float width_, float height_, TBitmap picture_)
    : x(x_), y(y_), width(width_), height(height_), picture(std::move(picture_)) {
    kind = kStampKind;
    maxRadius = 0.0f;
    minX = x;
    minY = y;
    maxX = x + width;
    maxY = y + height;
}

}  // namespace quil
