#include "app/display_panel.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "app/bitmap_image.h"

namespace quil {

TDisplayPanel::TDisplayPanel(QWidget* parent) : QWidget(parent) {
    // Every paint covers the whole of what it repaints.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Its clicks toggle play; they are not the base panel's.
    setAttribute(Qt::WA_NoMousePropagation);
}

void TDisplayPanel::Present(const TBitmap& display, int x, int y, int width, int height) {
    if (image_.width() != display.Width() || image_.height() != display.Height()) {
        image_ = QImage(display.Width(), display.Height(), QImage::Format_RGB32);
        image_.fill(Qt::white);
        x = y = 0;
        width = display.Width();
        height = display.Height();
    }
    CopyIntoImage(display, x, y, width, height, image_);
    // The changed rectangle in the panel's logical pixels, rounded outwards.
    const double ratio = devicePixelRatioF();
    const int left = int(std::floor(x / ratio)), top = int(std::floor(y / ratio));
    const int right = int(std::ceil((x + width) / ratio));
    const int bottom = int(std::ceil((y + height) / ratio));
    update(left, top, right - left, bottom - top);
}

void TDisplayPanel::ReadBack(TBitmap& into) { CopyIntoBitmap(image_, into); }

void TDisplayPanel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    if (image_.isNull()) return;
    const double ratio = devicePixelRatioF();
    if (image_.devicePixelRatio() != ratio) image_.setDevicePixelRatio(ratio);
    painter.drawImage(QPointF(0, 0), image_);
}

void TDisplayPanel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void TDisplayPanel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->pos());
    pressed_ = false;
    if (click && onClick_) onClick_();
}

}  // namespace quil
