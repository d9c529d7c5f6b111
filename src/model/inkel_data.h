#pragma once

#include <cstdint>

namespace quil {

constexpr int32_t kStrokeKind = 7;
constexpr int32_t kStampKind = 4;

// Base of every element of a recording: a node of the document's doubly
// linked list with the box of the element's point centres. The classes have
// no virtual operations; the document destroys an element by its `kind`.
class TInkelDataWT {
public:
    TInkelDataWT() = default;
    TInkelDataWT(const TInkelDataWT&) = delete;
    TInkelDataWT& operator=(const TInkelDataWT&) = delete;

    // Whether the box grown by maxRadius touches the rectangle (edges that
    // touch count). False while the element has no box (maxRadius < 0).
    bool Intersects(float left, float top, float right, float bottom) const;

    // The box grown by maxRadius + 1 on every side; false, outputs untouched,
    // while the element has no box.
    bool GetRedrawRect(float& left, float& top, float& right, float& bottom) const;

    float maxRadius = -1.0f;  // negative: no box yet
    float minX = 0.0f;
    float minY = 0.0f;
    float maxX = 0.0f;
    float maxY = 0.0f;
    int32_t kind = 0;    // kStrokeKind or kStampKind
    uint32_t color = 0;  // 0x00BBGGRR
    int32_t index = 0;   // position in the document's list
    uint32_t recordTag = 0;
    TInkelDataWT* prev = nullptr;
    TInkelDataWT* next = nullptr;

protected:
    ~TInkelDataWT() = default;
};

}  // namespace quil
