#include "app/client_area.h"

#include <QResizeEvent>

#include "app/status_bar.h"

namespace quil {

TClientArea::TClientArea(QWidget* parent)
    : QWidget(parent), base_(new QWidget(this)), status_(new TStatusBar(this)) {
    base_->setObjectName("BasePanel");
    base_->setAutoFillBackground(true);
    QPalette grey = base_->palette();
    grey.setColor(QPalette::Window, grey.color(QPalette::Mid));
    base_->setPalette(grey);
}

void TClientArea::resizeEvent(QResizeEvent* event) {
    const QSize size = event->size();
    const int baseHeight = std::max(size.height() - status_->height(), 0);
    const QSize before = base_->size();
    base_->setGeometry(0, 0, size.width(), baseHeight);
    status_->setGeometry(0, baseHeight, size.width(), status_->height());
    if (base_->size() != before && onBaseResize_) onBaseResize_();
}

}  // namespace quil
