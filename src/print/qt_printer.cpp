#include "print/qt_printer.h"

#include <cups/cups.h>

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
    if (!painter_.end() || printer_.printerState() == QPrinter::Error ||
        printer_.printerState() == QPrinter::Aborted)
        return false;
    // Qt hands the job of a system printer to the print server as the job
    // ends, without telling whether the server took it: the server's answer
    // is the last one the print library received on this thread.
    if (printer_.outputFormat() == QPrinter::NativeFormat)
        return cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
    return true;
}

}  // namespace quil
