#include "print/up_down.h"

#include <QToolButton>
#include <algorithm>

namespace quil {

TUpDown::TUpDown(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent),
      orientation_(orientation),
      down_(new QToolButton(this)),
      up_(new QToolButton(this)) {
    const bool horizontal = orientation == Qt::Horizontal;
    down_->setArrowType(horizontal ? Qt::LeftArrow : Qt::DownArrow);
    up_->setArrowType(horizontal ? Qt::RightArrow : Qt::UpArrow);
    for (QToolButton* button : {down_, up_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(down_, &QToolButton::clicked, this, [this] { Click(false); });
    connect(up_, &QToolButton::clicked, this, [this] { Click(true); });
}

void TUpDown::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    position_ = std::clamp(position_, minimum_, maximum_);
}

void TUpDown::SetPosition(int position) { position_ = std::clamp(position, minimum_, maximum_); }

void TUpDown::Click(bool up) {
    position_ = std::clamp(position_ + (up ? 1 : -1), minimum_, maximum_);
    if (onClick_) onClick_(up);
}

void TUpDown::resizeEvent(QResizeEvent*) {
    const int w = width(), h = height();
    if (orientation_ == Qt::Horizontal) {
        down_->setGeometry(0, 0, w / 2, h);
        up_->setGeometry(w / 2, 0, w - w / 2, h);
    } else {
        up_->setGeometry(0, 0, w, h / 2);
        down_->setGeometry(0, h / 2, w, h - h / 2);
    }
}

}  // namespace quil
