#include "player/offscreen_scale.h"

namespace quil {

TOffScreenScale OffScreenScale(int T, int U, int pw, int ph, bool stretch) {
    TOffScreenScale m;
    m.sx = float(T) / float(pw);
    m.sy = float(U) / float(ph);
    if (stretch) {
        m.s = (m.sx + m.sy) * 0.5f;
        return m;
    }
    m.s = m.sx > m.sy ? m.sy : m.sx;
    m.sx = m.sy = m.s;
    m.offsetX = (T - pw * m.s) * 0.5f;
    m.offsetY = (U - ph * m.s) * 0.5f;
    return m;
}

}  // namespace quil
