#pragma once

#include <QWidget>
#include <functional>

class QToolButton;

namespace quil {

// A pair of arrow buttons that counts a position within a range and tells
// which arrow was clicked: "up" is the right arrow of a horizontal pair and
// the upper arrow of a vertical one. Setting the position from the program
// tells nothing.
class TUpDown final : public QWidget {
public:
    TUpDown(Qt::Orientation orientation, QWidget* parent);

    void SetRange(int minimum, int maximum);
    void SetPosition(int position);
    int Position() const { return position_; }
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    Qt::Orientation Orientation() const { return orientation_; }

    void SetOnClick(std::function<void(bool up)> onClick) { onClick_ = std::move(onClick); }
    // As a click on the arrow would.
    void Click(bool up);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    Qt::Orientation orientation_;
    int minimum_ = 0, maximum_ = 100, position_ = 0;
    QToolButton* down_;
    QToolButton* up_;
    std::function<void(bool)> onClick_;
};

}  // namespace quil
