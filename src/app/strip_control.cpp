#include "app/strip_control.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/bitmap_image.h"

namespace quil {

TStripControl::TStripControl(QWidget* parent, int height) : QWidget(parent), strip_(height) {
    setFixedSize(strip_.Width(), strip_.Height());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TStripControl::DrawReplayStrip(int position, int total) {
    strip_.DrawReplayStrip(position, total);
    const TRect changed = strip_.TakeChanged();
    if (changed.right > changed.left)
        update(changed.left, 0, changed.right - changed.left, strip_.Height());
}

void TStripControl::paintEvent(QPaintEvent*) {
    // The picture is small; the painter's clip keeps a partial repaint to
    // the changed columns. A disabled strip looks the same: it only stops
    // taking presses.
    QPainter painter(this);
    painter.drawImage(0, 0, ToImage(strip_.Picture()));
}

void TStripControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onPress_) onPress_(int(event->position().x()));
}

}  // namespace quil
