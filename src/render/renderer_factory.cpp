#include "render/renderer_factory.h"

#include "render/fuzzy_line_gdi_16x.h"
#include "render/fuzzy_line_gdi_1x.h"
#include "render/fuzzy_line_gdi_4x.h"

namespace quil {

std::unique_ptr<TFuzzyLineGDI> MakeRenderer(int quality, IPresentTarget* window, int width,
                                            int height) {
    switch (quality) {
    case 0: return std::make_unique<TFuzzyLineGDI1X>(window, width, height);
    case 1: return std::make_unique<TFuzzyLineGDI4X>(window, width, height);
    default: return std::make_unique<TFuzzyLineGDI16X>(window, width, height);
    }
}

}  // namespace quil
