#pragma once

#include "render/fuzzy_line_gdi_impl.h"

namespace quil {

// Quality Low: one sample per pixel; the display width is raised to a multiple of 4.
class TFuzzyLineGDI1X final : public TFuzzyLineGDIImpl<1> {
public:
    // window nullptr: off-screen.
    TFuzzyLineGDI1X(IPresentTarget* window, int width, int height);
};

}  // namespace quil
