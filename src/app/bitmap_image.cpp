#include "app/bitmap_image.h"

#include <algorithm>

namespace quil {

QImage ToImage(const TBitmap& picture) {
    if (picture.Empty() || picture.BitsPerPixel() != 24) return {};
    QImage image(picture.Width(), picture.Height(), QImage::Format_RGB32);
    CopyIntoImage(picture, 0, 0, picture.Width(), picture.Height(), image);
    return image;
}

void CopyIntoImage(const TBitmap& picture, int x, int y, int width, int height, QImage& image) {
    if (picture.Empty() || picture.BitsPerPixel() != 24 || image.format() != QImage::Format_RGB32)
        return;
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min({x + width, picture.Width(), image.width()});
    const int y1 = std::min({y + height, picture.Height(), image.height()});
    for (int row = y0; row < y1; ++row) {
        const uint8_t* p = picture.ScanLine(row) + 3 * x0;
        QRgb* q = reinterpret_cast<QRgb*>(image.scanLine(row)) + x0;
        for (int n = x1 - x0; n > 0; --n, p += 3, ++q)
            *q = qRgb(p[2], p[1], p[0]);
    }
}

void CopyIntoBitmap(const QImage& image, TBitmap& picture) {
    if (image.isNull() || picture.Empty() || picture.BitsPerPixel() != 24) return;
    const QImage rgb = image.format() == QImage::Format_RGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    const int width = std::min(rgb.width(), picture.Width());
    const int height = std::min(rgb.height(), picture.Height());
    for (int row = 0; row < height; ++row) {
        const QRgb* q = reinterpret_cast<const QRgb*>(rgb.constScanLine(row));
        uint8_t* p = picture.ScanLine(row);
        for (int n = width; n > 0; --n, p += 3, ++q) {
            p[0] = uint8_t(qBlue(*q));
            p[1] = uint8_t(qGreen(*q));
            p[2] = uint8_t(qRed(*q));
        }
    }
}

}  // namespace quil
