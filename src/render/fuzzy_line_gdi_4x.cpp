#include "render/fuzzy_line_gdi_4x.h"

namespace quil {

TFuzzyLineGDI4X::TFuzzyLineGDI4X(IPresentTarget* window, int width, int height)
    : TFuzzyLineGDIImpl<2>(window, width, height) {}

}  // namespace quil
