#include "print/area_panel.h"

#include <QMouseEvent>
#include <QPainter>

#include "print/qt_picture.h"

namespace quil {

namespace {

Qt::CursorShape ShapeOf(TGrabCursor cursor) {
    switch (cursor) {
    case TGrabCursor::SizeNWSE: return Qt::SizeFDiagCursor;
    case TGrabCursor::SizeNESW: return Qt::SizeBDiagCursor;
    case TGrabCursor::SizeWE: return Qt::SizeHorCursor;
    case TGrabCursor::SizeNS: return Qt::SizeVerCursor;
    case TGrabCursor::SizeAll: break;
    }
    return Qt::SizeAllCursor;
}

}  // namespace

TAreaPanel::TAreaPanel(TPrinterDlgModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setMouseTracking(true);
}

bool TAreaPanel::OnRectangle(const QPoint& at, int& x, int& y) const {
    const TAreaRect& r = model_.Selection().Rect();
    x = at.x() - r.left;
    y = at.y() - r.top;
    return x >= 0 && y >= 0 && x < r.width && y < r.height;
}

void TAreaPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, ToQImage(model_.AreaPreview()));
    const TAreaRect& r = model_.Selection().Rect();
    QPen pen(QColor(0, 0, 255), 3);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // The 3-pixel frame lies inside the rectangle.
    painter.drawRect(QRectF(r.left + 1.5, r.top + 1.5, r.width - 3, r.height - 3));
}

void TAreaPanel::mousePressEvent(QMouseEvent* event) {
    int x = 0, y = 0;
    if (event->button() != Qt::LeftButton || !OnRectangle(event->position().toPoint(), x, y))
        return;
    model_.Selection().MouseDown(x, y);
}

void TAreaPanel::mouseMoveEvent(QMouseEvent* event) {
    int x = 0, y = 0;
    const bool on = OnRectangle(event->position().toPoint(), x, y);
    TAreaSelection& selection = model_.Selection();
    if (selection.Dragging()) {
        selection.MouseMove(x, y);
        update();
        return;
    }
    if (on)
        setCursor(ShapeOf(TAreaSelection::CursorFor(selection.ZoneAt(x, y))));
    else
        unsetCursor();
}

void TAreaPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) model_.Selection().MouseUp();
}

}  // namespace quil
