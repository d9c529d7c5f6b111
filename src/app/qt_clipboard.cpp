#include "app/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/bitmap_image.h"

namespace quil {

bool TQtClipboard::SetBitmap(const TBitmap& picture) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QImage image = ToImage(picture);
    if (!clipboard || image.isNull()) return false;
    clipboard->setImage(image);
    return true;
}

}  // namespace quil
