#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "platform/present_target.h"

namespace quil {

// The white panel the player draws in. The renderer presents rectangles of
// its display surface; the panel keeps them in an image of the display's
// device pixels and paints from it, so a paint of the window always shows
// the whole display surface as last presented. A click toggles play.
class TDisplayPanel final : public QWidget, public IPresentTarget {
public:
    explicit TDisplayPanel(QWidget* parent);

    void SetOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }

    void Present(const TBitmap& display, int x, int y, int width, int height) override;
    void ReadBack(TBitmap& into) override;

    // What the panel shows, in device pixels.
    const QImage& Shown() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image_;
    bool pressed_ = false;
    std::function<void()> onClick_;
};

}  // namespace quil
