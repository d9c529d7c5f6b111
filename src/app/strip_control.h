#pragma once

#include <QWidget>
#include <functional>

#include "app/replay_strip.h"

namespace quil {

// The replay strip on the status bar: shows the strip's picture, repaints
// the columns it changed, and passes a mouse press with its x position.
// A disabled strip takes no presses.
class TStripControl final : public QWidget {
public:
    TStripControl(QWidget* parent, int height);

    void DrawReplayStrip(int position, int total);
    void SetOnPress(std::function<void(int x)> onPress) { onPress_ = std::move(onPress); }
    const TReplayStrip& Strip() const { return strip_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TReplayStrip strip_;
    std::function<void(int)> onPress_;
};

}  // namespace quil
