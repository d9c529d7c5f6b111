#include "render/fuzzy_line_gdi_16x.h"

namespace quil {

TFuzzyLineGDI16X::TFuzzyLineGDI16X(IPresentTarget* window, int width, int height)
    : TFuzzyLineGDIImpl<4>(window, width, height) {}

}  // namespace quil
