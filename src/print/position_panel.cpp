#include "print/position_panel.h"

#include <QMouseEvent>
#include <QPainter>

#include "print/qt_picture.h"

namespace quil {

TPositionPanel::TPositionPanel(TPrinterDlgModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
    setCursor(Qt::SizeAllCursor);
}

void TPositionPanel::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, ToQImage(model_.Placement().Preview()));
}

void TPositionPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    model_.Placement().MouseDown(at.x(), at.y());
    update();
}

void TPositionPanel::mouseMoveEvent(QMouseEvent* event) {
    if (!model_.Placement().Dragging()) return;
    const QPoint at = event->position().toPoint();
    model_.Placement().MouseMove(at.x(), at.y());
    update();
}

void TPositionPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) model_.Placement().MouseUp();
}

}  // namespace quil
