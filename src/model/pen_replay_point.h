#pragma once

namespace quil {

// One sample of the pen: a centre in page units and half the pen width.
// A radius of exactly 0 marks the point where the pen was lifted.
// Points form a singly linked chain owned by their stroke.
struct TPenReplayPointWT {
    float x = 0.0f;
    float y = 0.0f;
    float radius = 0.0f;
    TPenReplayPointWT* next = nullptr;
};

}  // namespace quil
