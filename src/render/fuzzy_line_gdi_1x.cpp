#include "render/fuzzy_line_gdi_1x.h"

#include <cstdint>

namespace quil {

namespace {

// The Low display surface is as wide as its work surface, whose rows must
// be a whole number of 4-byte words: the width is raised to a multiple of 4.
int RaisedToFour(int width) { return width > INT32_MAX - 3 ? width : (width + 3) & ~3; }

}  // namespace

TFuzzyLineGDI1X::TFuzzyLineGDI1X(IPresentTarget* window, int width, int height)
    : TFuzzyLineGDIImpl<1>(window, RaisedToFour(width), height) {}

}  // namespace quil
