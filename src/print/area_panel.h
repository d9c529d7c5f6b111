#pragma once

#include <QWidget>

#include "print/printer_dlg_model.h"

namespace quil {

// The first page's panel: the area preview with the area rectangle over
// it, a blue frame 3 pixels wide. The rectangle takes the mouse: over it
// the cursor shows the grab zone, and a press drags that zone.
class TAreaPanel final : public QWidget {
public:
    TAreaPanel(TPrinterDlgModel& model, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The mouse position relative to the rectangle; false outside it.
    bool OnRectangle(const QPoint& at, int& x, int& y) const;

    TPrinterDlgModel& model_;
};

}  // namespace quil
