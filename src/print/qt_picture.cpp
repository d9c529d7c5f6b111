#include "print/qt_picture.h"

namespace quil {

QImage UpsideDownView(const TBitmap& picture) {
    if (picture.Empty() || picture.BitsPerPixel() != 24) return {};
    // Pixels are blue, green, red in memory: Qt's BGR888.
    return QImage(picture.Bits(), picture.Width(), picture.Height(), picture.Stride(),
                  QImage::Format_BGR888);
}

QImage ToQImage(const TBitmap& picture) { return UpsideDownView(picture).mirrored(false, true); }

}  // namespace quil
