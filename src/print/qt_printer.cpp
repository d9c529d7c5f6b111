#include "print/qt_printer.h"

#include "print/qt_picture.h"

namespace quil {

bool TQtPrinter::BeginDoc() {
    if (painter_.isActive() || !painter_.begin(&printer_)) return false;
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_.setRenderHint(QPainter::LosslessImageRendering, true);
    return true;
}

void TQtPrinter::StretchPicture(const TRect& destination, const TBitmap& picture) {
    const int width = destination.right - destination.left;
    const int height = destination.bottom - destination.top;
    if (!painter_.isActive() || width <= 0 || height <= 0) return;
    const QImage rows = UpsideDownView(picture);
    if (rows.isNull()) return;
    // The picture's rows are stored bottom-up: draw them as they lie in
    // memory through a vertical flip of the destination, which costs no copy.
    painter_.save();
    painter_.translate(0, destination.bottom + destination.top);
    painter_.scale(1, -1);
    painter_.drawImage(QRect(destination.left, destination.top, width, height), rows);
    painter_.restore();
}

bool TQtPrinter::EndDoc() {
    if (!painter_.isActive()) return false;
    const bool ended = painter_.end();
    return ended && printer_.printerState() != QPrinter::Error &&
           printer_.printerState() != QPrinter::Aborted;
}

}  // namespace quil
