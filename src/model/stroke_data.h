#pragma once

#include <cstdint>

#include "model/inkel_data.h"
#include "model/pen_replay_point.h"

namespace quil {

// A stroke: a chain of pen points with a colour, an opacity and an eraser
// flag. The points are held by the document's point arena, which frees
// them all at once; the stroke chains them.
class TStrokeDataWT : public TInkelDataWT {
public:
    TStrokeDataWT() { kind = kStrokeKind; }

    // Point cursor for the replay. FirstPoint puts it on the first point;
    // NextPoint moves it on and returns the new point (none after the last).
    TPenReplayPointWT* FirstPoint();
    TPenReplayPointWT* NextPoint();

    // Links `point` (which outlives the stroke) at the tail and grows the box.
    void AppendPoint(TPenReplayPointWT* point);

    TPenReplayPointWT* firstPoint = nullptr;
    TPenReplayPointWT* pointCursor = nullptr;
    TPenReplayPointWT* lastPoint = nullptr;
    int32_t pointCount = 0;
    uint32_t opacity = 255;  // 0..255
    uint32_t eraser = 0;     // non-zero: restores the page instead of inking
    uint32_t recordAux = 0;
};

}  // namespace quil
