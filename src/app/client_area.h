#pragma once

#include <QWidget>
#include <functional>

namespace quil {

class TStatusBar;

// The window's client area below the menu bar: the grey base panel, which
// holds the display panel, over the status bar. The panels are placed here
// at once on every resize, so that the window's sizing sees the base
// panel's new size as soon as it has resized the window.
class TClientArea final : public QWidget {
public:
    explicit TClientArea(QWidget* parent);

    QWidget& BasePanel() { return *base_; }
    TStatusBar& StatusBar() { return *status_; }
    // Called whenever the base panel changes its size.
    void SetOnBaseResize(std::function<void()> onResize) { onBaseResize_ = std::move(onResize); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* base_;
    TStatusBar* status_;
    std::function<void()> onBaseResize_;
};

}  // namespace quil
