#pragma once

namespace quil {

// Scale and offsets of the page on an off-screen target; work samples are
// four times display pixels. Page point (x, y) lands on display point
// (x * sx + offsetX, y * sy + offsetY); s scales pen widths.
struct TOffScreenScale {
    float sx = 1.0f, sy = 1.0f, s = 1.0f;
    float offsetX = 0.0f, offsetY = 0.0f;
};

// How a page of pw x ph units lies on a target of T x U pixels. With stretch
// the page fills the target, each axis scaled on its own; without, it keeps
// its aspect at the smaller scale and is centred (offsets are not truncated).
// The page size must be positive.
TOffScreenScale OffScreenScale(int T, int U, int pw, int ph, bool stretch);

}  // namespace quil
