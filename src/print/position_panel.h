#pragma once

#include <QWidget>

#include "print/printer_dlg_model.h"

namespace quil {

// The second page's position preview: the paper with the placed picture,
// which the mouse moves.
class TPositionPanel final : public QWidget {
public:
    TPositionPanel(TPrinterDlgModel& model, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TPrinterDlgModel& model_;
};

}  // namespace quil
