#pragma once

#include <QDialog>

#include "app/replay_video_choices.h"

class QComboBox;
class QSpinBox;

namespace quil {

// The small options dialog of "Replay video...": the replay rate (the
// window's rate entries), the video's width and height and its frames per
// second, starting from what the window proposes.
class TVideoOptionsDialog final : public QDialog {
public:
    TVideoOptionsDialog(QWidget* owner, const TVideoSettings& proposed);

    // What the dialog holds now.
    TVideoSettings Settings() const;

private:
    QComboBox* rate_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QSpinBox* fps_ = nullptr;
};

}  // namespace quil
