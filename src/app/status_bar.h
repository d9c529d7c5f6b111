#pragma once

#include <QProgressBar>
#include <QString>
#include <QWidget>

#include "app/strip_control.h"

namespace quil {

// The status bar: 19 pixels high, three panels from the left of 300, 256
// and 202 pixels. The first shows the open recording's file name; the
// replay strip lies over the second and the progress bar, shown only while
// the player reports long work, over the third.
class TStatusBar final : public QWidget {
public:
    static constexpr int kHeight = 19;

    explicit TStatusBar(QWidget* parent);

    void SetText(const QString& text);
    QString Text() const { return text_; }
    TStripControl& Strip() { return *strip_; }
    QProgressBar& Progress() { return *progress_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    TStripControl* strip_;
    QProgressBar* progress_;
};

}  // namespace quil
