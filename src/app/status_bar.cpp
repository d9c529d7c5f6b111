#include "app/status_bar.h"

#include <QPainter>

namespace quil {

namespace {

constexpr int kPanelWidths[] = {300, 256, 202};

}  // namespace

TStatusBar::TStatusBar(QWidget* parent) : QWidget(parent) {
    setFixedHeight(kHeight);
    strip_ = new TStripControl(this, kHeight - 4);
    strip_->move(302, 2);
    progress_ = new QProgressBar(this);
    progress_->setGeometry(556, 2, 200, kHeight - 2);
    progress_->setTextVisible(false);
    progress_->hide();
}

void TStatusBar::SetText(const QString& text) {
    text_ = text;
    update(0, 0, kPanelWidths[0], kHeight);
}

void TStatusBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    // Each panel is sunken: darker above and left, lighter below and right.
    int left = 0;
    for (int width : kPanelWidths) {
        const QRect panel(left, 0, width - 2, kHeight);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(panel.topLeft(), panel.topRight());
        painter.drawLine(panel.topLeft(), panel.bottomLeft());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(panel.bottomLeft(), panel.bottomRight());
        painter.drawLine(panel.topRight(), panel.bottomRight());
        left += width;
    }
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect textArea(3, 0, kPanelWidths[0] - 8, kHeight);
    painter.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(text_, Qt::ElideMiddle, textArea.width()));
}

}  // namespace quil
