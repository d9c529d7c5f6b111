#pragma once

#include "render/fuzzy_line_gdi_impl.h"

namespace quil {

// Quality Best: 4 x 4 samples per pixel.
class TFuzzyLineGDI16X final : public TFuzzyLineGDIImpl<4> {
public:
    // window nullptr: off-screen.
    TFuzzyLineGDI16X(IPresentTarget* window, int width, int height);
};

}  // namespace quil
