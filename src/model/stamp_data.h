#pragma once

#include "model/inkel_data.h"
#include "platform/bitmap.h"

namespace quil {

// A picture placed on the page. Pure white pixels are transparent when drawn.
class TStampDataWT : public TInkelDataWT {
public:
    // Sets the box to the stamp's rectangle with maxRadius 0.
    TStampDataWT(float x, float y, float width, float height, TBitmap picture);
    ~TStampDataWT() = default;

    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    TBitmap picture;  // 24 bits per pixel
};

}  // namespace quil
