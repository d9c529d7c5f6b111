#include "model/stroke_data.h"

#include <algorithm>

namespace quil {

TPenReplayPointWT* TStrokeDataWT::FirstPoint() {
    pointCursor = firstPoint;
    return pointCursor;
}

TPenReplayPointWT* TStrokeDataWT::NextPoint() {
    if (pointCursor != nullptr) pointCursor = pointCursor->next;
    return pointCursor;
}

void TStrokeDataWT::AppendPoint(TPenReplayPointWT* point) {
    if (maxRadius >= 0.0f) {
        maxRadius = std::max(maxRadius, point->radius);
        minX = std::min(minX, point->x);
        maxX = std::max(maxX, point->x);
        minY = std::min(minY, point->y);
        maxY = std::max(maxY, point->y);
    } else {
        maxRadius = point->radius;
        minX = maxX = point->x;
        minY = maxY = point->y;
    }
    ++pointCount;
    point->next = nullptr;
    if (lastPoint == nullptr) {
        firstPoint = point;
        pointCursor = point;
    } else {
        lastPoint->next = point;
    }
    lastPoint = point;
}

}  // namespace quil
