#pragma once

#include <memory>

#include "render/fuzzy_line_gdi.h"

namespace quil {

// Display quality: 0 Low (TFuzzyLineGDI1X), 1 Middle (TFuzzyLineGDI4X),
// 2 Best (TFuzzyLineGDI16X); any other value gives Best.
std::unique_ptr<TFuzzyLineGDI> MakeRenderer(int quality, IPresentTarget* window, int width,
                                            int height);

}  // namespace quil
