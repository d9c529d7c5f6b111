#pragma once

#include "render/fuzzy_line_gdi_impl.h"

namespace quil {

// Quality Middle: 2 x 2 samples per pixel.
class TFuzzyLineGDI4X final : public TFuzzyLineGDIImpl<2> {
public:
    // window nullptr: off-screen.
    TFuzzyLineGDI4X(IPresentTarget* window, int width, int height);
};

}  // namespace quil
