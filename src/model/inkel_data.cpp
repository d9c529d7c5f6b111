#include "model/inkel_data.h"

namespace quil {

bool TInkelDataWT::Intersects(float left, float top, float right, float bottom) const {
    if (maxRadius < 0.0f) return false;
    const float r = maxRadius;
    // Each grown edge is rounded to float32 before it is compared.
    const float growLeft = minX - r;
    const float growTop = minY - r;
    const float growRight = maxX + r;
    const float growBottom = maxY + r;
    return growLeft <= right && growTop <= bottom && growRight >= left && growBottom >= top;
}

bool TInkelDataWT::GetRedrawRect(float& left, float& top, float& right, float& bottom) const {
    if (maxRadius < 0.0f) return false;
    const float r = maxRadius;
    left = minX - r - 1.0f;
    top = minY - r - 1.0f;
    right = maxX + r + 1.0f;
    bottom = maxY + r + 1.0f;
    return true;
}

}  // namespace quil
